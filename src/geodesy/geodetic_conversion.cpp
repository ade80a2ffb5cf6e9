// Earth-centred Cartesian coordinates to and from geodetic latitude,
// longitude and ellipsoidal height on WGS 84.
#include <quillon/cpp/geodesy.hpp>

#include <cmath>

namespace quillon {
namespace {

constexpr double kSquaredAxesDifference = 272331606107.5547;  // a^2 - b^2, square metres
constexpr double kHalfPi = 1.5707963267948966;

constexpr double kTanLatitudeTolerance = 1e-15;
// After this many iterations one more is made and the loop ends.
constexpr int kIterationLimit = 300;

struct Ellipsoid {
    double a;
    double e;   // first eccentricity
    double e2;  // e * e
};

// The eccentricity is derived from the difference of the squared axes, as
// the hosts' conversion always derived it, so results match theirs bit for bit.
Ellipsoid wgs84() {
    const double e = std::sqrt(kSquaredAxesDifference) / kWgs84SemiMajorAxis;
    return {kWgs84SemiMajorAxis, e, e * e};
}

// Whether t repeats one of the values this conversion has already produced.
bool seenBefore(double t, const double* history, int count) {
    for (int k = count - 1; k >= 0; --k)
        if (history[k] == t) return true;
    return false;
}

bool strictlyBetween(double t, double a, double b) { return a < b ? a < t && t < b : b < t && t < a; }

// Iterates tan(latitude) from z / p. Returns false when the change never fell
// to the tolerance within the limit. Near the poles one step between
// neighbouring doubles of tan(latitude) exceeds the tolerance, so the values
// can settle into a cycle that never meets it; a value that repeats an
// earlier one ends the iteration as converged. That cannot change the result
// of any point that meets the tolerance: once the sequence repeats, every
// later difference is one already tested. The map from one value to the next
// decreases, so the values alternate about the root: while each lies strictly
// between the two before it, the intervals they span nest and every earlier
// value lies outside the newest one, so none can repeat. The search for a
// repeat starts at the first value that leaves that pattern.
bool iterateTanLatitude(const Ellipsoid& ell, double p, double z, double* tanPhi) {
    double history[kIterationLimit + 2];
    double t = z / p;
    history[0] = t;
    const double eae = ell.e * ell.a * ell.e;
    bool nested = true;
    for (int count = 1;; ++count) {
        const double previous = t;
        t = z / (p - eae / std::sqrt((1.0 - ell.e2) * (previous * previous) + 1.0));
        if (count > kIterationLimit || std::isnan(t)) {
            // A NaN stays NaN to the limit: stop now with the same result.
            *tanPhi = t;
            return false;
        }
        if (std::fabs(t - previous) <= kTanLatitudeTolerance) {
            *tanPhi = t;
            return true;
        }
        if (count >= 2) nested = nested && strictlyBetween(t, previous, history[count - 2]);
        if (!nested && seenBefore(t, history, count)) {
            *tanPhi = t;
            return true;
        }
        history[count] = t;
    }
}

}  // namespace

Geocentric to_geocentric(const Geodetic& point) noexcept {
    const Ellipsoid ell = wgs84();
    const double sinPhi = std::sin(point.latitude);
    const double n = ell.a / std::sqrt(1.0 - (ell.e * sinPhi) * (ell.e * sinPhi));
    Geocentric c;
    c.x = std::cos(point.latitude) * (n + point.height) * std::cos(point.longitude);
    c.y = std::cos(point.latitude) * (n + point.height) * std::sin(point.longitude);
    c.z = sinPhi * ((1.0 - ell.e2) * n + point.height);
    return c;
}

GeodeticSolution to_geodetic(const Geocentric& point) noexcept {
    GeodeticSolution solution;
    Geodetic& g = solution.point;
    g.longitude = std::atan2(point.y, point.x);
    const double p = std::sqrt(point.x * point.x + point.y * point.y);
    if (p == 0.0) {
        // On the polar axis z / p has no meaning: the point lies over a pole
        // (the north pole for z = +0, the south pole for z = -0 at the centre).
        const bool known = !std::isnan(point.z);
        g.latitude = known ? std::copysign(kHalfPi, point.z) : point.z;
        g.height = std::fabs(point.z) - kWgs84SemiMinorAxis;
        solution.converged = known;
        return solution;
    }
    const Ellipsoid ell = wgs84();
    double t = 0.0;
    solution.converged = iterateTanLatitude(ell, p, point.z, &t);
    g.latitude = std::atan(t);
    const double sinPhi = std::sin(g.latitude);
    g.height = p / std::cos(g.latitude) - ell.a / std::sqrt(1.0 - ell.e2 * (sinPhi * sinPhi));
    return solution;
}

// Each point's three inputs are read before its outputs are written, so the
// outputs may be the input arrays.
void to_geocentric(const double* latitude, const double* longitude, const double* height, double* x, double* y,
                   double* z, std::size_t n) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        const Geocentric c = to_geocentric(Geodetic{latitude[i], longitude[i], height[i]});
        x[i] = c.x;
        y[i] = c.y;
        z[i] = c.z;
    }
}

std::size_t to_geodetic(const double* x, const double* y, const double* z, double* latitude, double* longitude,
                        double* height, std::size_t n) noexcept {
    std::size_t notConverged = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const GeodeticSolution s = to_geodetic(Geocentric{x[i], y[i], z[i]});
        latitude[i] = s.point.latitude;
        longitude[i] = s.point.longitude;
        height[i] = s.point.height;
        if (!s.converged) ++notConverged;
    }
    return notConverged;
}

}  // namespace quillon
