// Earth-centred Cartesian coordinates to and from geodetic latitude,
// longitude and ellipsoidal height on WGS 84.
#include <cmath>
#include <cstdio>

#include "quillon/geodesy.h"

namespace {

constexpr double kSemiMajorAxis = 6378137.0;             // a, meters
constexpr double kSquaredAxesDifference = 272331606107.5547;  // a^2 - b^2, square meters
constexpr double kHalfPi = 1.5707963267948966;

constexpr double kTanLatitudeTolerance = 1e-15;
// After this many iterations one more is made and the loop ends.
constexpr int kIterationLimit = 300;

struct Ellipsoid {
    double a;
    double e;   // first eccentricity
    double e2;  // e * e
};

Ellipsoid wgs84() {
    const double e = std::sqrt(kSquaredAxesDifference) / kSemiMajorAxis;
    return {kSemiMajorAxis, e, e * e};
}

void geodeticToCartesian(const Ellipsoid& ell, double phi, double lam, double h, double* x, double* y,
                         double* z) {
    const double sinPhi = std::sin(phi);
    const double n = ell.a / std::sqrt(1.0 - (ell.e * sinPhi) * (ell.e * sinPhi));
    *x = std::cos(phi) * (n + h) * std::cos(lam);
    *y = std::cos(phi) * (n + h) * std::sin(lam);
    *z = sinPhi * ((1.0 - ell.e2) * n + h);
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

void cartesianToGeodetic(const Ellipsoid& ell, double x, double y, double z, double* phi, double* lam,
                         double* h) {
    *lam = std::atan2(y, x);
    const double p = std::sqrt(x * x + y * y);
    if (p == 0.0) {
        // On the polar axis z / p has no meaning: the point lies over a pole
        // (the north pole for z = +0, the south pole for z = -0 at the centre).
        const double b = std::sqrt(kSemiMajorAxis * kSemiMajorAxis - kSquaredAxesDifference);
        *phi = std::isnan(z) ? z : std::copysign(kHalfPi, z);
        *h = std::fabs(z) - b;
        return;
    }
    double t = 0.0;
    if (!iterateTanLatitude(ell, p, z, &t)) std::printf("(xyz) --> (phi, lam, h) not convergent");
    *phi = std::atan(t);
    const double sinPhi = std::sin(*phi);
    *h = p / std::cos(*phi) - ell.a / std::sqrt(1.0 - ell.e2 * (sinPhi * sinPhi));
}

}  // namespace

int conv(double* latitude, double* longitude, double* height, double* x, double* y, double* z, int direction) {
    const Ellipsoid ell = wgs84();
    if (direction == 1) cartesianToGeodetic(ell, *x, *y, *z, latitude, longitude, height);
    if (direction == 2) geodeticToCartesian(ell, *latitude, *longitude, *height, x, y, z);
    return 0;
}
