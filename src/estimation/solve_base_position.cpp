// Gauss-Newton estimate of a reference position from station observations.
#include "estimation/solve_base_position.h"

#include <algorithm>
#include <cmath>

#include "quillon/geodesy.h"
#include "quillon/numerics.h"

namespace quillon::estimation {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMinRangeDivisor = 0.001;
constexpr double kMinSlopePartial = 1e-5;
constexpr double kLargestCorrection = 100000.0;
constexpr double kConverged = 1.0;
constexpr int kMaxIterations = 10;

double radians(double degrees) { return degrees * kPi / 180.0; }

struct Point {
    double x;
    double y;
    double z;
};

// The sensor for the reference point at (x, y, z). The vertical offset is
// added as it is, without a tilt correction.
Point sensorPoint(double x, double y, double z, double heading, double pitch, double roll, const double* offset) {
    const double along = offset[1] + offset[2] * std::sin(radians(pitch));
    const double across = offset[0] + offset[2] * std::sin(radians(roll));
    const double h = radians(heading);
    return {x + along * std::sin(h) + across * std::cos(h), y + along * std::cos(h) - across * std::sin(h),
            z + offset[2]};
}

// Residual (computed minus observed) and partials by easting, northing, height.
struct Linearised {
    double w = 0.0;
    double a[3] = {0.0, 0.0, 0.0};
};

Linearised linearise(const StationObservation& ob, const Point& p, const CalcBaseStation* stations) {
    Linearised l;
    switch (ob.type) {
    case kSlopeRangeFromStation: {
        const CalcBaseStation& s = stations[ob.station];
        const double dx = p.x - s.x, dy = p.y - s.y, dz = p.z - s.z;
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
    case kHorizontalRangeDifference: {
        const CalcBaseStation& s = stations[ob.station];
        const CalcBaseStation& t = stations[ob.otherStation];
        const double dxs = p.x - s.x, dys = p.y - s.y;
        const double dxt = p.x - t.x, dyt = p.y - t.y;
        const double hs = std::sqrt(dxs * dxs + dys * dys);
        const double ht = std::sqrt(dxt * dxt + dyt * dyt);
        l.w = (ht - hs) - ob.value;
        l.a[0] = dxt / ht - dxs / hs;
        l.a[1] = dyt / ht - dys / hs;
        break;
    }
    case kSensorNorthing:
        l.w = p.y - ob.value;
        l.a[1] = 1.0;
        break;
    case kSensorEasting:
        l.w = p.x - ob.value;
        l.a[0] = 1.0;
        break;
    case kSlopeRangeFromOrigin: {
        const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        l.w = r - ob.value;
        l.a[0] = p.x / r;
        l.a[1] = p.y / r;
        l.a[2] = p.z / r;
        break;
    }
    case kBearingFromOrigin: {
        l.w = deltaAngle(p.x, p.y, ob.value);
        const double d = (p.x * p.x + p.y * p.y) * kPi;
        l.a[0] = 180.0 * p.y / d;
        l.a[1] = -180.0 * p.x / d;
        break;
    }
    case kBearingFromStation: {
        const CalcBaseStation& s = stations[ob.station];
        const double dx = p.x - s.x, dy = p.y - s.y;
        l.w = deltaAngle(dx, dy, ob.value);
        const double d = (dx * dx + dy * dy) * kPi;
        l.a[0] = 180.0 * dy / d;
        l.a[1] = -180.0 * dx / d;
        break;
    }
    case kSensorHeight:
        l.w = p.z - ob.value;
        l.a[2] = 1.0;
        break;
    default:
        break;
    }
    return l;
}

// The normal matrix, right-hand side and correction, given back on every exit.
struct NormalSystem {
    int n;
    double** normal;
    double* rhs;
    double* correction;

    explicit NormalSystem(int size) : n(size), normal(dMatrix(size, size)), rhs(dVector(size)), correction(dVector(size)) {}
    ~NormalSystem() {
        if (normal != nullptr) freeDMatrix(normal, n);
        freeDVector(rhs);
        freeDVector(correction);
    }
    NormalSystem(const NormalSystem&) = delete;
    NormalSystem& operator=(const NormalSystem&) = delete;
    bool obtained() const { return normal != nullptr && rhs != nullptr && correction != nullptr; }

    void clear() {
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) normal[i][j] = 0.0;
            rhs[i] = 0.0;
            correction[i] = 0.0;
        }
    }

    void add(const Linearised& l, double sigma) {
        const double s2 = sigma * sigma;
        for (int i = 0; i < n; ++i) {
            for (int j = 0; j < n; ++j) normal[i][j] += l.a[i] * l.a[j] / s2;
            rhs[i] += l.w * l.a[i] / s2;
        }
    }

    // False when the normal matrix cannot be inverted.
    bool solve() {
        if (spdinv(normal, n) == 0) return false;
        for (int i = 0; i < n; ++i) {
            double sum = 0.0;
            for (int j = 0; j < n; ++j) sum += normal[i][j] * rhs[j];
            correction[i] = sum;
        }
        return true;
    }
};

}  // namespace

int solveBasePosition(double* y, double* x, double* z, double heading, double pitch, double roll,
                      const StationObservation* observations, int count, const double* offset,
                      const CalcBaseStation* stations, int n) {
    if (n != 2 && n != 3) return 0;
    NormalSystem system(n);
    if (!system.obtained()) return 0;
    double ex = *x, ey = *y, ez = *z;
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        system.clear();
        const Point p = sensorPoint(ex, ey, ez, heading, pitch, roll, offset);
        for (int k = 0; k < count; ++k) {
            const StationObservation& ob = observations[k];
            if (ob.sigma == 0.0) continue;
            system.add(linearise(ob, p, stations), ob.sigma);
        }
        if (!system.solve()) return 0;
        const double* d = system.correction;
        if (std::fabs(d[0]) > kLargestCorrection || std::fabs(d[1]) > kLargestCorrection ||
            (n == 3 && std::fabs(d[2]) > kLargestCorrection))
            return 0;
        ex -= d[0];
        ey -= d[1];
        if (n == 3) ez -= d[2];
        // The height correction takes no part in the test.
        if (std::fabs(d[1]) + std::fabs(d[0]) < kConverged) {
            *x = ex;
            *y = ey;
            if (n == 3) *z = ez;
            return 1;
        }
    }
    return 0;
}

}  // namespace quillon::estimation
