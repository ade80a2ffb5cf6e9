// Geodesy through both doors: the geocentric <-> geodetic conversion (the
// plain iteration reproduced bit for bit, the polar axis, the cycle near the
// poles, hostile input; the API's array forms and its convergence flag as
// conv's message), and plane directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "quillon/cpp/geodesy.hpp"
#include "quillon/geodesy.h"

namespace conversion {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kB = 6356752.314245179;  // WGS 84 semi-minor axis
const char kMessage[] = "(xyz) --> (phi, lam, h) not convergent";

struct Geodetic {
    double phi, lam, h;
};
struct Cartesian {
    double x, y, z;
};

// The conversion from x, y, z as a plain loop to the tolerance or the limit:
// the oracle that converging points must match bit for bit. With
// `endCycles`, a value equal to any earlier one also ends it, searched for
// at every step.
struct Reference {
    Geodetic g;
    bool converged;
};
Reference referenceToGeodetic(const Cartesian& c, bool endCycles = false) {
    const double a = 6378137.0;
    const double e = std::sqrt(272331606107.5547) / a;
    const double e2 = e * e;
    Reference r{};
    r.g.lam = std::atan2(c.y, c.x);
    const double p = std::sqrt(c.x * c.x + c.y * c.y);
    double t = c.z / p;
    std::vector<double> earlier = {t};
    for (int count = 1;; ++count) {
        const double previous = t;
        t = c.z / (p - (e * a * e) / std::sqrt((1.0 - e2) * (previous * previous) + 1.0));
        if (count > 300) {
            r.converged = false;
            break;
        }
        if (std::fabs(t - previous) <= 1e-15 ||
            (endCycles && std::find(earlier.begin(), earlier.end(), t) != earlier.end())) {
            r.converged = true;
            break;
        }
        earlier.push_back(t);
    }
    r.g.phi = std::atan(t);
    const double s = std::sin(r.g.phi);
    r.g.h = p / std::cos(r.g.phi) - a / std::sqrt(1.0 - e2 * (s * s));
    return r;
}

Geodetic convertToGeodetic(Cartesian c) {
    Geodetic g{-1, -1, -1};
    EXPECT_EQ(conv(&g.phi, &g.lam, &g.h, &c.x, &c.y, &c.z, 1), 0);
    return g;
}

// Captures what the code run by `body` writes to standard output.
template <typename Body>
std::string standardOutputOf(Body body) {
    testing::internal::CaptureStdout();
    body();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// Runs direction 1 and captures what it writes to standard output.
Geodetic toGeodetic(Cartesian c, std::string* output = nullptr) {
    Geodetic g{};
    const std::string written = standardOutputOf([&] { g = convertToGeodetic(c); });
    if (output != nullptr) *output = written;
    return g;
}

Cartesian toCartesian(Geodetic g) {
    Cartesian c{-1, -1, -1};
    EXPECT_EQ(conv(&g.phi, &g.lam, &g.h, &c.x, &c.y, &c.z, 2), 0);
    return c;
}

std::string describe(const Cartesian& c) {
    char text[120];
    std::snprintf(text, sizeof text, "(%.17g, %.17g, %.17g)", c.x, c.y, c.z);
    return text;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(GeodeticConversion, KnownPointsRoundTripQuietly) {
    struct Case {
        Geodetic g;
        Cartesian c;  // expected to the millimetre (GeographicLib CartConvert)
    } const cases[] = {
        {{kPi / 4, kPi / 6, 100}, {3912409.702, 2258830.795, 4487419.120}}, {{0, 0, 0}, {6378137, 0, 0}},
        {{-33.5 * kPi / 180, 151.25 * kPi / 180, 50}, {-4667790.8016, 2560837.7258, -3500361.8849}},
    };
    for (const auto& k : cases) {
        const Cartesian c = toCartesian(k.g);
        EXPECT_NEAR(c.x, k.c.x, 1e-3) << describe(c);
        EXPECT_NEAR(c.y, k.c.y, 1e-3) << describe(c);
        EXPECT_NEAR(c.z, k.c.z, 1e-3) << describe(c);
        std::string output;
        const Geodetic back = toGeodetic(c, &output);
        EXPECT_NEAR(back.phi, k.g.phi, 1e-15) << describe(c);
        EXPECT_NEAR(back.lam, k.g.lam, 1e-15) << describe(c);
        EXPECT_NEAR(back.h, k.g.h, 1e-8) << describe(c);
        EXPECT_EQ(output, "") << describe(c);
    }
    // On the ellipsoid at the equator the first step already lands on 0.
    const Geodetic equator = toGeodetic({6378137, 0, 0});
    EXPECT_EQ(equator.phi, 0.0);
    EXPECT_EQ(equator.h, 0.0);
}

TEST(GeodeticConversion, OtherDirectionsTouchNothing) {
    for (int direction : {0, 3, -1}) {
        double v[6] = {1, 2, 3, 4, 5, 6};
        EXPECT_EQ(conv(&v[0], &v[1], &v[2], &v[3], &v[4], &v[5], direction), 0);
        for (int k = 0; k < 6; ++k) EXPECT_EQ(v[k], k + 1.0) << "direction " << direction << ", argument " << k;
    }
}

TEST(GeodeticConversion, PolarAxisGivesPoleAndDistanceFromIt) {
    struct Case {
        double z, phi, h;
    } const cases[] = {{kB, kPi / 2, 0},          {-kB, -kPi / 2, 0},          {kB + 1000, kPi / 2, 1000},
                       {-kB + 500, -kPi / 2, -500}, {0.0, kPi / 2, -kB},         {-0.0, -kPi / 2, -kB},
                       {1e9, kPi / 2, 1e9 - kB}};
    for (const auto& c : cases) {
        std::string output;
        const Geodetic g = toGeodetic({0, 0, c.z}, &output);
        EXPECT_DOUBLE_EQ(g.phi, c.phi) << "z = " << c.z;
        EXPECT_NEAR(g.h, c.h, 1e-6) << "z = " << c.z;
        EXPECT_TRUE(std::isfinite(g.lam)) << "z = " << c.z;
        EXPECT_EQ(output, "") << "z = " << c.z;
    }
}

// Points on random latitudes, longitudes and heights, as x, y, z.
Cartesian randomPoint(std::mt19937_64& random, double minLatDeg, double maxLatDeg) {
    std::uniform_real_distribution<double> lat(minLatDeg, maxLatDeg), lon(-180, 180), height(-1e4, 4e7);
    return toCartesian({lat(random) * kPi / 180, lon(random) * kPi / 180, height(random)});
}

TEST(GeodeticConversion, ConvergingPointsMatchPlainIterationBitForBit) {
    std::mt19937_64 random(20240611);
    int compared = 0;
    std::string mismatch;
    const std::string output = standardOutputOf([&] {
        for (int k = 0; k < 100000; ++k) {
            const Cartesian c = k % 4 == 0 ? randomPoint(random, 75, 90) : randomPoint(random, -90, 90);
            const Reference expected = referenceToGeodetic(c);
            if (!expected.converged) continue;
            ++compared;
            const Geodetic actual = convertToGeodetic(c);
            if (!sameBits(actual.phi, expected.g.phi) || !sameBits(actual.lam, expected.g.lam) ||
                !sameBits(actual.h, expected.g.h)) {
                mismatch = describe(c) + ": expected " + describe({expected.g.phi, expected.g.lam, expected.g.h}) +
                           ", got " + describe({actual.phi, actual.lam, actual.h});
                return;
            }
        }
    });
    ASSERT_EQ(mismatch, "") << "first point that differs from the plain iteration";
    EXPECT_EQ(output, "") << "converging points wrote a message";
    EXPECT_GT(compared, 99000);
}

TEST(GeodeticConversion, CyclingNearThePoleIsSettledQuietly) {
    std::mt19937_64 random(7);
    int cycling = 0;
    for (int k = 0; k < 200000 && cycling < 20; ++k) {
        const Cartesian c = randomPoint(random, 80, 90);
        const Reference plain = referenceToGeodetic(c);
        if (plain.converged) continue;
        ++cycling;
        std::string output;
        const Geodetic actual = toGeodetic(c, &output);
        EXPECT_EQ(output, "") << describe(c);
        // Ended at the first repeat, exactly.
        const Reference settled = referenceToGeodetic(c, true);
        EXPECT_TRUE(settled.converged) << describe(c);
        EXPECT_TRUE(sameBits(actual.phi, settled.g.phi) && sameBits(actual.h, settled.g.h)) << describe(c);
        // The plain iteration's last value lies in the same cycle of
        // neighbouring values, so the latitudes agree to a few units in the last place.
        EXPECT_NEAR(actual.phi, plain.g.phi, 1e-15) << describe(c);
        EXPECT_NEAR(actual.h, plain.g.h, 1e-3) << describe(c);
        EXPECT_EQ(actual.lam, plain.g.lam) << describe(c);
    }
    EXPECT_EQ(cycling, 20) << "too few cycling points found to test";
}

TEST(GeodeticConversion, NonFiniteInputReturns) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Cartesian nanCases[] = {{nan, 0, 0}, {0, nan, 1}, {1, 1, nan}, {0, 0, nan}, {inf, 0, inf}};
    for (const auto& c : nanCases) {
        const Geodetic g = toGeodetic(c);
        EXPECT_TRUE(std::isnan(g.phi)) << describe(c) << " gave latitude " << g.phi;
        EXPECT_TRUE(std::isnan(g.h)) << describe(c) << " gave height " << g.h;
    }
    // A NaN never converges and says so, as the plain iteration would.
    std::string output;
    toGeodetic({1, 1, nan}, &output);
    EXPECT_EQ(output, kMessage);

    const Geodetic far = toGeodetic({inf, 0, 0});
    EXPECT_EQ(far.phi, 0.0);
    EXPECT_EQ(far.h, inf);
    const Geodetic overPole = toGeodetic({0, 0, inf});
    EXPECT_EQ(overPole.phi, kPi / 2);
    EXPECT_EQ(overPole.h, inf);
}

}  // namespace
}  // namespace conversion

namespace api {
namespace {

using quillon::Geocentric;
using quillon::Geodetic;

constexpr double kPi = 3.141592653589793;
constexpr double kB = quillon::kWgs84SemiMinorAxis;
const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::string describe(const Geocentric& c) {
    char text[120];
    std::snprintf(text, sizeof text, "(%.17g, %.17g, %.17g)", c.x, c.y, c.z);
    return text;
}

// Ordinary points, the poles, the polar axis and the centre, and hostile input.
std::vector<Geocentric> handfulOfPoints() {
    return {quillon::to_geocentric(Geodetic{kPi / 4, kPi / 6, 100}),
            quillon::to_geocentric(Geodetic{-33.5 * kPi / 180, 151.25 * kPi / 180, 50}),
            quillon::to_geocentric(Geodetic{89.9999 * kPi / 180, 1, 2e7}),
            {6378137, 0, 0}, {0, 0, kB}, {0, 0, -kB - 100}, {0, 0, 0}, {0, 0, -0.0},
            {1, 1, kNan}, {0, 0, kNan}, {kNan, 0, 0}, {kInf, 0, kInf}, {kInf, 0, 0}};
}

TEST(GeodeticArrays, EveryPointAsTheSingleCallInPlaceOrNot) {
    const std::vector<Geocentric> points = handfulOfPoints();
    const std::size_t n = points.size();
    std::vector<double> x(n), y(n), z(n), lat(n), lon(n), h(n);
    std::size_t notConverged = 0;
    for (std::size_t i = 0; i < n; ++i) {
        x[i] = points[i].x, y[i] = points[i].y, z[i] = points[i].z;
        if (!quillon::to_geodetic(points[i]).converged) ++notConverged;
    }
    EXPECT_EQ(notConverged, 4u);
    EXPECT_EQ(quillon::to_geodetic(x.data(), y.data(), z.data(), lat.data(), lon.data(), h.data(), n), notConverged);
    std::vector<double> a = x, b = y, c = z;  // overwritten in place
    EXPECT_EQ(quillon::to_geodetic(a.data(), b.data(), c.data(), a.data(), b.data(), c.data(), n), notConverged);
    for (std::size_t i = 0; i < n; ++i) {
        const Geodetic g = quillon::to_geodetic(points[i]).point;
        for (const auto& got : {Geodetic{lat[i], lon[i], h[i]}, Geodetic{a[i], b[i], c[i]}})
            EXPECT_TRUE(sameBits(got.latitude, g.latitude) && sameBits(got.longitude, g.longitude) &&
                        sameBits(got.height, g.height))
                << describe(points[i]);
    }

    // Back again, from the geodetic arrays just filled.
    std::vector<double> bx(n), by(n), bz(n);
    quillon::to_geocentric(lat.data(), lon.data(), h.data(), bx.data(), by.data(), bz.data(), n);
    quillon::to_geocentric(lat.data(), lon.data(), h.data(), lat.data(), lon.data(), h.data(), n);
    for (std::size_t i = 0; i < n; ++i) {
        const Geocentric e = quillon::to_geocentric(Geodetic{a[i], b[i], c[i]});
        for (const auto& got : {Geocentric{bx[i], by[i], bz[i]}, Geocentric{lat[i], lon[i], h[i]}})
            EXPECT_TRUE(sameBits(got.x, e.x) && sameBits(got.y, e.y) && sameBits(got.z, e.z)) << describe(points[i]);
    }
}

TEST(GeodeticConversionApi, NotConvergedExactlyWhereConvWritesItsMessage) {
    for (Geocentric p : handfulOfPoints()) {
        const quillon::GeodeticSolution solution = quillon::to_geodetic(p);
        double phi = 0, lam = 0, height = 0;
        testing::internal::CaptureStdout();
        conv(&phi, &lam, &height, &p.x, &p.y, &p.z, 1);
        std::fflush(stdout);
        const std::string output = testing::internal::GetCapturedStdout();
        EXPECT_EQ(output, solution.converged ? "" : "(xyz) --> (phi, lam, h) not convergent") << describe(p);
        EXPECT_TRUE(sameBits(phi, solution.point.latitude) && sameBits(lam, solution.point.longitude) &&
                    sameBits(height, solution.point.height))
            << describe(p);
    }
}

}  // namespace
}  // namespace api

namespace plane {
namespace {

struct TwoArgCase {
    double first;
    double second;
    double expected;
};

TEST(PlaneAngles, ArctanIsBearingOfEastNorthVector) {
    const TwoArgCase cases[] = {{0, 0, 0},    {1, 1, 45},   {1, 0, 90},    {0, -1, 180},
                                {-1, 0, 270}, {-1, 1, 315}, {0, 1, 0},     {-0.0, 1, 0},
                                {1e-300, -1, 180}, {-1e-300, -1, 180}};
    for (const auto& c : cases) {
        const double actual = arctan(c.first, c.second);
        EXPECT_NEAR(actual, c.expected, 1e-12) << "arctan(" << c.first << ", " << c.second << ")";
        EXPECT_TRUE(actual >= 0.0 && actual < 360.0) << "arctan(" << c.first << ", " << c.second << ") = " << actual;
    }
}

TEST(PlaneAngles, TwoArgumentDeltaFoldsOnceOnly) {
    const TwoArgCase cases[] = {{10, 350, 20},  {350, 10, -20}, {190, 10, 180}, {10, 190, -180},
                                {10, 200, 170}, {600, 0, 240},  {-600, 0, -240}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(deltaAngle(c.first, c.second), c.expected)
            << "deltaAngle(" << c.first << ", " << c.second << ")";
}

TEST(PlaneAngles, ThreeArgumentDeltaMeasuresFromVectorDirection) {
    struct Case {
        double u, v, reference, expected;
    } const cases[] = {{1, 1, 30, 15}, {-1, 1, 10, -55}, {0, 0, 90, -90}, {0, -1, 0, 180}, {-1, 0, -200, 110}};
    for (const auto& c : cases)
        EXPECT_NEAR(deltaAngle(c.u, c.v, c.reference), c.expected, 1e-12)
            << "deltaAngle(" << c.u << ", " << c.v << ", " << c.reference << ")";
}

TEST(PlaneAngles, CurveDirectionIsMinusOneForIncreaseBelowHalfTurn) {
    struct Case {
        double a, b;
        int expected;
    } const cases[] = {{10, 20, -1},  {20, 10, 1},    {-20, -10, -1}, {-10, 80, -1}, {-100, 100, 1},
                       {170, -170, -1}, {-170, 170, 1}, {10, 10, 1},    {0, 10, 1},    {-10, 0, 1},
                       {90, -90, 1},  {350, 10, -1},  {-90, 90, 1},   {100, -80, 1}, {100, -81, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(curveDirection(c.a, c.b), c.expected) << "curveDirection(" << c.a << ", " << c.b << ")";
}

}  // namespace
}  // namespace plane
