// The geodetic conversion against an independent implementation
// (GeographicLib's Geocentric) over random points of every latitude and
// longitude and heights from -10 km to 40,000 km.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <random>
#include <string>

#include "quillon/geodesy.h"

#ifdef QUILLON_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geocentric.hpp>
#endif

namespace {

#ifdef QUILLON_HAVE_GEOGRAPHICLIB

constexpr double kPi = 3.141592653589793;
constexpr double kDegree = kPi / 180;
constexpr int kPoints = 200000;

// The worst difference seen and the point where it was seen.
struct Worst {
    explicit Worst(const char* what) : name(what) {}
    const char* name;
    double value = 0;
    std::string where;
    void update(double difference, double latDeg, double lonDeg, double h) {
        if (!(difference <= value)) {
            value = difference;
            char text[120];
            std::snprintf(text, sizeof text, "lat %.12f lon %.12f h %.3f", latDeg, lonDeg, h);
            where = text;
        }
    }
    void report() const {
        std::cout << "    worst " << name << " difference: " << value << " at " << where << '\n';
        testing::Test::RecordProperty(std::string("worst ") + name, std::to_string(value));
    }
};

double wrappedDifference(double a, double b) {
    double d = std::fabs(a - b);
    return std::min(d, 2 * kPi - d);
}

struct Sample {
    double latDeg, lonDeg, h;
};

template <typename Visit>
void forRandomPoints(Visit visit) {
    std::mt19937_64 random(404);
    std::uniform_real_distribution<double> lat(-90, 90), lon(-180, 180), height(-1e4, 4e7);
    for (int k = 0; k < kPoints; ++k) {
        // Exact poles and the equator as well as the random spread.
        double latDeg = k % 1000 == 0 ? 90.0 : k % 1000 == 1 ? -90.0 : k % 1000 == 2 ? 0.0 : lat(random);
        visit(Sample{latDeg, lon(random), height(random)});
    }
}

TEST(GeodeticConversionVsGeographicLib, GeodeticToCartesian) {
    const GeographicLib::Geocentric& earth = GeographicLib::Geocentric::WGS84();
    Worst worst{"x, y, z (m)"};
    forRandomPoints([&](const Sample& s) {
        double X, Y, Z;
        earth.Forward(s.latDeg, s.lonDeg, s.h, X, Y, Z);
        double phi = s.latDeg * kDegree, lam = s.lonDeg * kDegree, h = s.h, x, y, z;
        conv(&phi, &lam, &h, &x, &y, &z, 2);
        worst.update(std::max({std::fabs(x - X), std::fabs(y - Y), std::fabs(z - Z)}), s.latDeg, s.lonDeg, s.h);
    });
    worst.report();
    // Distances up to 46,000 km: a few units in the last place of 4.6e7.
    EXPECT_LT(worst.value, 5e-8) << worst.where;
}

TEST(GeodeticConversionVsGeographicLib, CartesianToGeodetic) {
    const GeographicLib::Geocentric& earth = GeographicLib::Geocentric::WGS84();
    Worst latitude{"latitude (rad)"}, longitude{"longitude (rad)"}, height{"height (m)"};
    Worst heightOffPoles{"height below 89 degrees of latitude (m)"};
    int written = 0;
    testing::internal::CaptureStdout();
    forRandomPoints([&](const Sample& s) {
        double x, y, z;
        earth.Forward(s.latDeg, s.lonDeg, s.h, x, y, z);
        double latDeg, lonDeg, h;
        earth.Reverse(x, y, z, latDeg, lonDeg, h);
        double phi, lam, height_;
        conv(&phi, &lam, &height_, &x, &y, &z, 1);
        latitude.update(std::fabs(phi - latDeg * kDegree), s.latDeg, s.lonDeg, s.h);
        // Longitude is undefined on the polar axis.
        if (x != 0 || y != 0) longitude.update(wrappedDifference(lam, lonDeg * kDegree), s.latDeg, s.lonDeg, s.h);
        height.update(std::fabs(height_ - h), s.latDeg, s.lonDeg, s.h);
        if (std::fabs(s.latDeg) < 89) heightOffPoles.update(std::fabs(height_ - h), s.latDeg, s.lonDeg, s.h);
        ++written;
    });
    std::fflush(stdout);
    const std::string output = testing::internal::GetCapturedStdout();
    latitude.report();
    longitude.report();
    height.report();
    heightOffPoles.report();
    EXPECT_EQ(output, "") << "a point did not converge";
    EXPECT_EQ(written, kPoints);
    EXPECT_LT(latitude.value, 1e-15) << latitude.where;
    EXPECT_LT(longitude.value, 1e-15) << longitude.where;
    // The height formula divides by cos(latitude), whose relative rounding
    // error grows near the poles: about (N + h)^2 * 1e-16 / p, so 0.2 mm at
    // 300 m from the axis 20,000 km up. Below 89 degrees it stays under a micrometre.
    EXPECT_LT(height.value, 1e-3) << height.where;
    EXPECT_LT(heightOffPoles.value, 1e-6) << heightOffPoles.where;
}

#else

TEST(GeodeticConversionVsGeographicLib, NeedsGeographicLib) {
    GTEST_SKIP() << "GeographicLib not found: install the Debian package libgeographiclib-dev";
}

#endif

}  // namespace
