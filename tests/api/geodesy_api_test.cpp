// The C++ API of the geodetic conversion: the array forms point for point
// as the single calls, in place or not, and `converged` false exactly where
// the hosts' conv writes its message.
#include <gtest/gtest.h>

#include <quillon/cpp/geodesy.hpp>
#include <quillon/geodesy.h>

#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

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
