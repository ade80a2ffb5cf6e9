// Earth-centred Cartesian coordinates to and from geodetic latitude,
// longitude and ellipsoidal height on WGS 84.
#include <quillon/cpp/geodesy.hpp>

#include <cmath>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

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

// Widest cycle, in units in the last place of its largest value, that
// counts as settled. Near the poles neighbouring doubles of tan(latitude)
// lie farther apart than the tolerance and the values circle among a
// couple of neighbours; a cycle any wider is a genuine non-convergence.
constexpr double kSettledCycleUlps = 4.0;

// Index of the latest earlier value equal to t, or -1.
int earlierIndex(double t, const double* history, int count) {
    for (int k = count - 1; k >= 0; --k)
        if (history[k] == t) return k;
    return -1;
}

// Whether the values history[first..last) lie within a few units in the
// last place of each other.
bool tightCycle(const double* history, int first, int last) {
    double lo = history[first], hi = history[first];
    for (int k = first + 1; k < last; ++k) {
        lo = std::fmin(lo, history[k]);
        hi = std::fmax(hi, history[k]);
    }
    const double big = std::fmax(std::fabs(lo), std::fabs(hi));
    const double ulp = std::nextafter(big, HUGE_VAL) - big;
    return hi - lo <= kSettledCycleUlps * ulp;
}

bool strictlyBetween(double t, double a, double b) { return a < b ? a < t && t < b : b < t && t < a; }

// Iterates tan(latitude) from z / p. Returns false when the change never fell
// to the tolerance within the limit; t is then the value after one round
// more than the limit, whatever it is. A value that repeats an earlier one
// within a cycle a few units in the last place wide ends the iteration as
// converged (see kSettledCycleUlps). That cannot change the result of any
// point that meets the tolerance: once the sequence repeats, every later
// difference is one already tested. For the same reason a wider cycle can
// never meet it, and the rounds go on to the limit. The map from one value
// to the next decreases, so the values alternate about the root: while each
// lies strictly between the two before it, the intervals they span nest and
// every earlier value lies outside the newest one, so none can repeat. The
// search for a repeat starts at the first value that leaves that pattern.
bool iterateTanLatitude(const Ellipsoid& ell, double p, double z, double* tanPhi) {
    double history[kIterationLimit + 2];
    double t = z / p;
    history[0] = t;
    const double eae = ell.e * ell.a * ell.e;
    bool nested = true;
    bool cycling = false;
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
        if (cycling) continue;
        if (count >= 2) nested = nested && strictlyBetween(t, previous, history[count - 2]);
        if (!nested) {
            const int k = earlierIndex(t, history, count);
            if (k >= 0) {
                if (tightCycle(history, k, count)) {
                    *tanPhi = t;
                    return true;
                }
                cycling = true;
            }
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

namespace {

// Points converted in lockstep. Each lane runs the very operations of the
// single-point iteration, in the same order, on IEEE arithmetic that rounds
// each one exactly (square root and division included), so a lane that
// meets the tolerance ends on the value a single conversion ends on. A lane
// that has not met it after kLockstepRounds (a cycle, a NaN, a point deep
// inside the earth) is converted again alone, which follows the same
// sequence and adds the cycle rule and the limit; so do points on the axis.
// One round is a chain of a square root and two divisions; eight lanes keep
// several independent chains in flight, so the rounds cost their throughput
// rather than their latency.
constexpr int kLanes = 8;
constexpr int kLockstepRounds = 12;

struct LaneGroup {
    double p[kLanes], z[kLanes], t[kLanes];
    bool done[kLanes];
};

// The iteration of up to kLanes points; false when some lane is left.
bool lockstepPortable(const Ellipsoid& ell, LaneGroup& g) {
    const double eae = ell.e * ell.a * ell.e;
    const double oneMinusE2 = 1.0 - ell.e2;
    for (int l = 0; l < kLanes; ++l) {
        g.t[l] = g.z[l] / g.p[l];
        g.done[l] = false;
    }
    for (int round = 0; round < kLockstepRounds; ++round) {
        double next[kLanes];
        for (int l = 0; l < kLanes; ++l)
            next[l] = g.z[l] / (g.p[l] - eae / std::sqrt(oneMinusE2 * (g.t[l] * g.t[l]) + 1.0));
        bool all = true;
        for (int l = 0; l < kLanes; ++l) {
            const bool settled = std::fabs(next[l] - g.t[l]) <= kTanLatitudeTolerance;
            if (!g.done[l]) g.t[l] = next[l];
            g.done[l] = g.done[l] || settled;
            all = all && g.done[l];
        }
        if (all) return true;
    }
    return false;
}

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define QUILLON_LOCKSTEP_AVX 1
// The same iteration four lanes a register. Without FMA: a fused
// multiply-add would round differently from the single-point code.
__attribute__((target("avx"))) bool lockstepAvx(const Ellipsoid& ell, LaneGroup& g) {
    constexpr int kRegisters = kLanes / 4;
    const __m256d eae = _mm256_set1_pd(ell.e * ell.a * ell.e);
    const __m256d oneMinusE2 = _mm256_set1_pd(1.0 - ell.e2);
    const __m256d one = _mm256_set1_pd(1.0);
    const __m256d tolerance = _mm256_set1_pd(kTanLatitudeTolerance);
    const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7fffffffffffffffLL));
    __m256d p[kRegisters], z[kRegisters], t[kRegisters], done[kRegisters];
    for (int r = 0; r < kRegisters; ++r) {
        p[r] = _mm256_loadu_pd(g.p + 4 * r);
        z[r] = _mm256_loadu_pd(g.z + 4 * r);
        t[r] = _mm256_div_pd(z[r], p[r]);
        done[r] = _mm256_setzero_pd();
    }
    bool all = false;
    for (int round = 0; round < kLockstepRounds && !all; ++round) {
        all = true;
        for (int r = 0; r < kRegisters; ++r) {
            const __m256d root = _mm256_sqrt_pd(_mm256_add_pd(_mm256_mul_pd(oneMinusE2, _mm256_mul_pd(t[r], t[r])), one));
            const __m256d next = _mm256_div_pd(z[r], _mm256_sub_pd(p[r], _mm256_div_pd(eae, root)));
            // Ordered comparison: a NaN change never settles, as in the single-point code.
            const __m256d settled =
                _mm256_cmp_pd(_mm256_and_pd(_mm256_sub_pd(next, t[r]), noSign), tolerance, _CMP_LE_OQ);
            t[r] = _mm256_blendv_pd(next, t[r], done[r]);
            done[r] = _mm256_or_pd(done[r], settled);
            all = all && _mm256_movemask_pd(done[r]) == 0xf;
        }
    }
    for (int r = 0; r < kRegisters; ++r) {
        _mm256_storeu_pd(g.t + 4 * r, t[r]);
        const int mask = _mm256_movemask_pd(done[r]);
        for (int l = 0; l < 4; ++l) g.done[4 * r + l] = ((mask >> l) & 1) != 0;
    }
    return all;
}
#endif

using Lockstep = bool (*)(const Ellipsoid&, LaneGroup&);

Lockstep chooseLockstep() {
#ifdef QUILLON_LOCKSTEP_AVX
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx")) return lockstepAvx;
#endif
    return lockstepPortable;
}

}  // namespace

std::size_t to_geodetic(const double* x, const double* y, const double* z, double* latitude, double* longitude,
                        double* height, std::size_t n) noexcept {
    static const Lockstep lockstep = chooseLockstep();
    const Ellipsoid ell = wgs84();
    std::size_t notConverged = 0;
    for (std::size_t first = 0; first < n; first += kLanes) {
        const int lanes = static_cast<int>(n - first < std::size_t(kLanes) ? n - first : std::size_t(kLanes));
        LaneGroup g;
        double lon[kLanes];
        bool alone[kLanes];
        for (int l = 0; l < kLanes; ++l) {
            if (l >= lanes) {
                g.p[l] = 1.0, g.z[l] = 0.0, alone[l] = true;
                continue;
            }
            const std::size_t i = first + std::size_t(l);
            lon[l] = std::atan2(y[i], x[i]);
            g.p[l] = std::sqrt(x[i] * x[i] + y[i] * y[i]);
            g.z[l] = z[i];
            // The axis has its own answer; a NaN leaves the iteration early.
            alone[l] = !(g.p[l] > 0.0) || std::isnan(g.z[l]);
            if (alone[l]) g.p[l] = 1.0, g.z[l] = 0.0;
        }
        lockstep(ell, g);
        for (int l = 0; l < lanes; ++l) {
            const std::size_t i = first + std::size_t(l);
            if (alone[l] || !g.done[l]) {
                const GeodeticSolution s = to_geodetic(Geocentric{x[i], y[i], z[i]});
                latitude[i] = s.point.latitude;
                longitude[i] = s.point.longitude;
                height[i] = s.point.height;
                if (!s.converged) ++notConverged;
                continue;
            }
            const double lat = std::atan(g.t[l]);
            const double sinPhi = std::sin(lat);
            latitude[i] = lat;
            longitude[i] = lon[l];
            height[i] = g.p[l] / std::cos(lat) - ell.a / std::sqrt(1.0 - ell.e2 * (sinPhi * sinPhi));
        }
    }
    return notConverged;
}

}  // namespace quillon
