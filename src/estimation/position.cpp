// Gauss-Newton estimate of a reference position from station observations.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <new>
#include <string>
#include <utility>

#include "quillon/cpp/estimation.hpp"
#include "quillon/cpp/numerics.hpp"
#include "quillon/cpp/geodesy.hpp"

namespace quillon {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMinRangeDivisor = 0.001;
constexpr double kMinSlopePartial = 1e-5;
constexpr double kLargestCorrection = 100000.0;
constexpr double kConverged = 1.0;
constexpr int kMaxIterations = 10;

double radians(double degrees) { return degrees * kPi / 180.0; }

// The sensor for the reference point at p. The vertical offset is added as
// it is, without a tilt correction.
Position sensorPoint(const Position& p, const Platform& platform) {
    const double* offset = platform.offset;
    const double along = offset[1] + offset[2] * std::sin(radians(platform.pitch));
    const double across = offset[0] + offset[2] * std::sin(radians(platform.roll));
    const double h = radians(platform.heading);
    return {p.easting + along * std::sin(h) + across * std::cos(h),
            p.northing + along * std::cos(h) - across * std::sin(h), p.height + offset[2]};
}

bool usesStation(ObservationKind kind) {
    return kind == ObservationKind::slope_range || kind == ObservationKind::range_difference ||
           kind == ObservationKind::bearing;
}

// Whether the observation's stations lie inside the station array.
bool stationsInside(const Observation& ob, std::size_t stationCount) {
    if (!usesStation(ob.kind)) return true;
    if (ob.station >= stationCount) return false;
    return ob.kind != ObservationKind::range_difference || ob.other_station < stationCount;
}

// Residual (computed minus observed) and partials by easting, northing, height.
struct Linearised {
    double w = 0.0;
    double a[3] = {0.0, 0.0, 0.0};
};

// The stations must lie inside the array (stationsInside).
Linearised linearise(const Observation& ob, const Position& p, const Station* stations) {
    Linearised l;
    switch (ob.kind) {
    case ObservationKind::slope_range: {
        const Station& s = stations[ob.station];
        const double dx = p.easting - s.easting, dy = p.northing - s.northing, dz = p.height - s.height;
        const double r = std::sqrt(dy * dy + dx * dx + dz * dz);
        l.w = r - ob.value;
        const double q = std::max(r, kMinRangeDivisor);
        l.a[0] = dx / q;
        l.a[1] = dy / q;
        l.a[2] = dz / q;
        for (double& partial : l.a)
            if (std::fabs(partial) < kMinSlopePartial) partial = kMinSlopePartial;
        break;
    }
    case ObservationKind::range_difference: {
        const Station& s = stations[ob.station];
        const Station& t = stations[ob.other_station];
        const double dxs = p.easting - s.easting, dys = p.northing - s.northing;
        const double dxt = p.easting - t.easting, dyt = p.northing - t.northing;
        const double hs = std::sqrt(dxs * dxs + dys * dys);
        const double ht = std::sqrt(dxt * dxt + dyt * dyt);
        l.w = (ht - hs) - ob.value;
        l.a[0] = dxt / ht - dxs / hs;
        l.a[1] = dyt / ht - dys / hs;
        break;
    }
    case ObservationKind::northing:
        l.w = p.northing - ob.value;
        l.a[1] = 1.0;
        break;
    case ObservationKind::easting:
        l.w = p.easting - ob.value;
        l.a[0] = 1.0;
        break;
    case ObservationKind::origin_range: {
        const double r = std::sqrt(p.easting * p.easting + p.northing * p.northing + p.height * p.height);
        l.w = r - ob.value;
        l.a[0] = p.easting / r;
        l.a[1] = p.northing / r;
        l.a[2] = p.height / r;
        break;
    }
    case ObservationKind::origin_bearing: {
        l.w = bearing_difference(p.easting, p.northing, ob.value);
        const double d = (p.easting * p.easting + p.northing * p.northing) * kPi;
        l.a[0] = 180.0 * p.northing / d;
        l.a[1] = -180.0 * p.easting / d;
        break;
    }
    case ObservationKind::bearing: {
        const Station& s = stations[ob.station];
        const double dx = p.easting - s.easting, dy = p.northing - s.northing;
        l.w = bearing_difference(dx, dy, ob.value);
        const double d = (dx * dx + dy * dy) * kPi;
        l.a[0] = 180.0 * dy / d;
        l.a[1] = -180.0 * dx / d;
        break;
    }
    case ObservationKind::height:
        l.w = p.height - ob.value;
        l.a[2] = 1.0;
        break;
    default:  // no kind: contributes nothing
        break;
    }
    return l;
}

// The normal equations of 2 or 3 unknowns: matrix, right-hand side and
// correction, row-major.
struct NormalSystem {
    std::size_t n;
    double normal[9];
    double rhs[3];
    double correction[3];

    void clear() {
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) normal[i * n + j] = 0.0;
            rhs[i] = 0.0;
            correction[i] = 0.0;
        }
    }

    void add(const Linearised& l, double sigma) {
        const double s2 = sigma * sigma;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) normal[i * n + j] += l.a[i] * l.a[j] / s2;
            rhs[i] += l.w * l.a[i] / s2;
        }
    }

    Status solve() {
        Status inverted = invert_symmetric(normal, n);
        if (!inverted) return inverted;
        for (std::size_t i = 0; i < n; ++i) {
            double sum = 0.0;
            for (std::size_t j = 0; j < n; ++j) sum += normal[i * n + j] * rhs[j];
            correction[i] = sum;
        }
        return inverted;
    }
};

bool isKnownKind(ObservationKind kind) {
    return static_cast<int>(kind) >= static_cast<int>(ObservationKind::slope_range) &&
           static_cast<int>(kind) <= static_cast<int>(ObservationKind::height);
}

// The standard deviations, sigma0 and redundancy of a solution, from the
// normal equations and residuals formed anew at its position (those of the
// last iteration belong to the point before its correction). The system is
// the solver's, reused as scratch.
void addPrecision(PositionSolution* solution, NormalSystem& system, const Observation* observations,
                  std::size_t count, const Platform& platform, const Station* stations) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Position p = sensorPoint(solution->position, platform);
    system.clear();
    double weightedSquares = 0.0;
    int used = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const Observation& ob = observations[k];
        if (ob.sigma == 0.0 || !isKnownKind(ob.kind)) continue;
        const Linearised l = linearise(ob, p, stations);
        system.add(l, ob.sigma);
        weightedSquares += (l.w / ob.sigma) * (l.w / ob.sigma);
        ++used;
    }
    solution->redundancy = used - static_cast<int>(system.n);
    solution->sigma0 = solution->redundancy > 0 ? std::sqrt(weightedSquares / solution->redundancy) : nan;
    const bool inverted = invert_symmetric(system.normal, system.n).ok();
    for (std::size_t i = 0; i < 3; ++i)
        solution->standard_deviation[i] = inverted && i < system.n ? std::sqrt(system.normal[i * system.n + i]) : nan;
}

void appendNumber(std::string& text, std::size_t number) {
    char digits[24];
    text.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// "observation 4 names station 9, but there are 3 stations" (counted from 0).
Error stationOutside(std::size_t index, const Observation& ob, std::size_t stationCount) {
    const std::size_t named = ob.station >= stationCount ? ob.station : ob.other_station;
    try {
        std::string message = "position: observation ";
        appendNumber(message, index);
        message += " names station ";
        appendNumber(message, named);
        if (stationCount == 1) {
            message += ", but there is 1 station";
        } else {
            message += ", but there are ";
            appendNumber(message, stationCount);
            message += " stations";
        }
        return make_error(Errc::invalid_argument, std::move(message));
    } catch (const std::bad_alloc&) {
        return make_error(Errc::invalid_argument, "");
    }
}

}  // namespace

Result<PositionSolution> solve_position(const Station* stations, std::size_t station_count,
                                        const Observation* observations, std::size_t count, const Platform& platform,
                                        const Position& start, int dims) noexcept {
    if (dims != 2 && dims != 3)
        return make_error(Errc::invalid_argument,
                          "position: dims must be 2 (easting and northing) or 3 (easting, northing and height)");
    for (std::size_t k = 0; k < count; ++k) {
        const Observation& ob = observations[k];
        if (ob.sigma != 0.0 && !stationsInside(ob, station_count)) return stationOutside(k, ob, station_count);
    }

    NormalSystem system;
    system.n = static_cast<std::size_t>(dims);
    Position estimate = start;
    for (int iteration = 1; iteration <= kMaxIterations; ++iteration) {
        system.clear();
        const Position p = sensorPoint(estimate, platform);
        for (std::size_t k = 0; k < count; ++k) {
            const Observation& ob = observations[k];
            if (ob.sigma == 0.0) continue;
            system.add(linearise(ob, p, stations), ob.sigma);
        }
        const Status solved = system.solve();
        if (!solved) {
            if (solved.error().code == Errc::not_finite)
                return make_error(Errc::not_finite, "position: NaN or an infinity reached the normal equations "
                                                    "(a NaN input, or the sensor on a station or the origin)");
            return make_error(Errc::singular, "position: the observations leave the position undetermined");
        }
        const double* d = system.correction;
        if (std::fabs(d[0]) > kLargestCorrection || std::fabs(d[1]) > kLargestCorrection ||
            (dims == 3 && std::fabs(d[2]) > kLargestCorrection))
            return make_error(Errc::out_of_range,
                              "position: a correction exceeds 100000 units; the estimate runs away");
        // Once NaN, the estimate could never converge again.
        if (std::isnan(d[0]) || std::isnan(d[1]))
            return make_error(Errc::not_finite, "position: NaN or an infinity reached the normal equations "
                                                "(a NaN input, or the sensor on a station or the origin)");
        estimate.easting -= d[0];
        estimate.northing -= d[1];
        if (dims == 3) estimate.height -= d[2];
        // The height correction takes no part in the test.
        if (std::fabs(d[1]) + std::fabs(d[0]) < kConverged) {
            PositionSolution solution;
            solution.position = estimate;
            solution.iterations = iteration;
            addPrecision(&solution, system, observations, count, platform, stations);
            return solution;
        }
    }
    return make_error(Errc::not_converged, "position: the estimate did not converge in 10 iterations");
}

double observation_residual(const Observation& observation, const Station* stations, std::size_t station_count,
                            const Platform& platform, const Position& at) noexcept {
    if (!stationsInside(observation, station_count)) return std::numeric_limits<double>::quiet_NaN();
    return linearise(observation, sensorPoint(at, platform), stations).w;
}

}  // namespace quillon
