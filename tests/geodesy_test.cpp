// Geodesy through both doors: the geocentric <-> geodetic conversion (known
// points, the polar axis, hostile input, the API's convergence flag as conv's
// message; the iteration itself bit for bit in api/engine_exactness_test),
// and plane directions.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "quillon/cpp/geodesy.hpp"
#include "quillon/geodesy.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kB = 6356752.314245179;  // WGS 84 semi-minor axis

template <class Point>
std::string describe(const Point& c) {
    char text[120];
    std::snprintf(text, sizeof text, "(%.17g, %.17g, %.17g)", c.x, c.y, c.z);
    return text;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Captures what the code run by `body` writes to standard output.
template <typename Body>
std::string standardOutputOf(Body body) {
    testing::internal::CaptureStdout();
    body();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

const char kMessage[] = "(xyz) --> (phi, lam, h) not convergent";

struct Geodetic { double phi, lam, h; };
struct Cartesian { double x, y, z; };

// Runs direction 1 and captures what it writes to standard output.
Geodetic toGeodetic(Cartesian c, std::string* output = nullptr) {
    Geodetic g{-1, -1, -1};
    const std::string written =
        standardOutputOf([&] { EXPECT_EQ(conv(&g.phi, &g.lam, &g.h, &c.x, &c.y, &c.z, 1), 0); });
    if (output != nullptr) *output = written;
    return g;
}

Cartesian toCartesian(Geodetic g) {
    Cartesian c{-1, -1, -1};
    EXPECT_EQ(conv(&g.phi, &g.lam, &g.h, &c.x, &c.y, &c.z, 2), 0);
    return c;
}

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
        EXPECT_LE(std::fmax(std::fabs(c.x - k.c.x), std::fmax(std::fabs(c.y - k.c.y), std::fabs(c.z - k.c.z))), 1e-3)
            << describe(c);
        std::string output;
        const Geodetic back = toGeodetic(c, &output);
        EXPECT_TRUE(std::fabs(back.phi - k.g.phi) <= 1e-15 && std::fabs(back.lam - k.g.lam) <= 1e-15 &&
                    std::fabs(back.h - k.g.h) <= 1e-8 && output.empty())
            << describe(c) << " came back as " << back.phi << " " << back.lam << " " << back.h << ", saying " << output;
    }
    // On the ellipsoid at the equator the first step already lands on 0.
    const Geodetic equator = toGeodetic({6378137, 0, 0});
    EXPECT_TRUE(equator.phi == 0.0 && equator.h == 0.0);
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
        SCOPED_TRACE(c.z);
        EXPECT_DOUBLE_EQ(g.phi, c.phi);
        EXPECT_NEAR(g.h, c.h, 1e-6);
        EXPECT_TRUE(std::isfinite(g.lam) && output.empty()) << g.lam << " " << output;
    }
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

    const Geodetic far = toGeodetic({inf, 0, 0}), overPole = toGeodetic({0, 0, inf});
    EXPECT_TRUE(far.phi == 0.0 && far.h == inf) << far.phi << " " << far.h;
    EXPECT_TRUE(overPole.phi == kPi / 2 && overPole.h == inf) << overPole.phi << " " << overPole.h;
}

using quillon::Geocentric;
const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Ordinary points, the poles, the polar axis and the centre, and hostile input.
std::vector<Geocentric> handfulOfPoints() {
    return {quillon::to_geocentric(quillon::Geodetic{kPi / 4, kPi / 6, 100}),
            quillon::to_geocentric(quillon::Geodetic{-33.5 * kPi / 180, 151.25 * kPi / 180, 50}),
            quillon::to_geocentric(quillon::Geodetic{89.9999 * kPi / 180, 1, 2e7}),
            {6378137, 0, 0}, {0, 0, kB}, {0, 0, -kB - 100}, {0, 0, 0}, {0, 0, -0.0},
            {1, 1, kNan}, {0, 0, kNan}, {kNan, 0, 0}, {kInf, 0, kInf}, {kInf, 0, 0}};
}

TEST(GeodeticConversionApi, NotConvergedExactlyWhereConvWritesItsMessage) {
    int notConverged = 0;
    for (Geocentric p : handfulOfPoints()) {
        const quillon::GeodeticSolution solution = quillon::to_geodetic(p);
        notConverged += solution.converged ? 0 : 1;
        double phi = 0, lam = 0, height = 0;
        const std::string output = standardOutputOf([&] { conv(&phi, &lam, &height, &p.x, &p.y, &p.z, 1); });
        EXPECT_EQ(output, solution.converged ? "" : "(xyz) --> (phi, lam, h) not convergent") << describe(p);
        EXPECT_TRUE(sameBits(phi, solution.point.latitude) && sameBits(lam, solution.point.longitude) &&
                    sameBits(height, solution.point.height))
            << describe(p);
    }
    EXPECT_EQ(notConverged, 4);
}

// Bearings of (east, north) vectors in [0, 360), differences folded once
// only, the three-argument difference from a vector's bearing, and the
// curve direction (-1 for an increase below half a turn).
TEST(PlaneAngles, BearingsDifferencesAndCurveDirections) {
    enum Fn { bearing, delta, vectorDelta, curve };
    const struct {
        Fn fn;
        double u, v, reference, expected;
    } rows[] = {
        {bearing, 0, 0, 0, 0}, {bearing, 1, 1, 0, 45}, {bearing, 1, 0, 0, 90}, {bearing, 0, -1, 0, 180},
        {bearing, -1, 0, 0, 270}, {bearing, -1, 1, 0, 315}, {bearing, 0, 1, 0, 0}, {bearing, -0.0, 1, 0, 0},
        {bearing, 1e-300, -1, 0, 180}, {bearing, -1e-300, -1, 0, 180},
        {delta, 10, 350, 0, 20}, {delta, 350, 10, 0, -20}, {delta, 190, 10, 0, 180}, {delta, 10, 190, 0, -180},
        {delta, 10, 200, 0, 170}, {delta, 600, 0, 0, 240}, {delta, -600, 0, 0, -240}, {delta, 0, 0, 0, 0},
        {vectorDelta, 1, 1, 30, 15}, {vectorDelta, -1, 1, 10, -55}, {vectorDelta, 0, 0, 90, -90},
        {vectorDelta, 0, -1, 0, 180}, {vectorDelta, -1, 0, -200, 110},
        {curve, 10, 20, 0, -1}, {curve, 20, 10, 0, 1}, {curve, -20, -10, 0, -1}, {curve, -10, 80, 0, -1},
        {curve, -100, 100, 0, 1}, {curve, 170, -170, 0, -1}, {curve, -170, 170, 0, 1}, {curve, 10, 10, 0, 1},
        {curve, 0, 10, 0, 1}, {curve, -10, 0, 0, 1}, {curve, 90, -90, 0, 1}, {curve, 350, 10, 0, -1},
        {curve, -90, 90, 0, 1}, {curve, 100, -80, 0, 1}, {curve, 100, -81, 0, -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(testing::Message() << r.fn << ": " << r.u << ", " << r.v << ", " << r.reference);
        const double actual = r.fn == bearing ? arctan(r.u, r.v)
                              : r.fn == delta ? deltaAngle(r.u, r.v)
                              : r.fn == vectorDelta ? deltaAngle(r.u, r.v, r.reference)
                                                    : curveDirection(r.u, r.v);
        EXPECT_NEAR(actual, r.expected, 1e-12);
        if (r.fn == bearing) {
            EXPECT_TRUE(actual >= 0.0 && actual < 360.0) << actual;
        }
    }
}

}  // namespace
