// Geodetic and geocentric coordinates on WGS 84, both directions, against
// GeographicLib's Geocentric.
#include <GeographicLib/Geocentric.hpp>

#include <cmath>
#include <string>
#include <vector>

#include <quillon/geodesy.h>

#include "bench_rows.h"

namespace {

using GeographicLib::Geocentric;

constexpr std::size_t kInputs = 1024;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

struct Point {
    double latDeg, lonDeg, height;  // GeographicLib's units
    double lat, lon;                // radians, the library's
    double x, y, z;
};

// Points all over the ellipsoid from 100 m below to 10 km above it.
const std::vector<Point>& points() {
    static const std::vector<Point> made = [] {
        const auto lat = bench::uniformValues(kInputs, -90.0, 90.0, 0x6e0);
        const auto lon = bench::uniformValues(kInputs, -180.0, 180.0, 0x6e1);
        const auto h = bench::uniformValues(kInputs, -100.0, 10000.0, 0x6e2);
        std::vector<Point> all;
        for (std::size_t i = 0; i < kInputs; ++i) {
            Point p{lat[i], lon[i], h[i], lat[i] * kRadiansPerDegree, lon[i] * kRadiansPerDegree, 0, 0, 0};
            Geocentric::WGS84().Forward(p.latDeg, p.lonDeg, p.height, p.x, p.y, p.z);
            all.push_back(p);
        }
        return all;
    }();
    return made;
}

constexpr int kToGeodetic = 1;
constexpr int kToCartesian = 2;

bool agreesOrSkip(benchmark::State& state) {
    for (Point p : points()) {
        double lat = 0, lon = 0, h = 0;
        conv(&lat, &lon, &h, &p.x, &p.y, &p.z, kToGeodetic);
        if (std::fabs(lat - p.lat) > 1e-10 || std::fabs(h - p.height) > 1e-5) {
            state.SkipWithError("conv and GeographicLib disagree on a point");
            return false;
        }
    }
    return true;
}

void registerRows() {
    const std::string forward = "conv, geodetic to geocentric";
    bench::addRow(forward, bench::kQuillon, [](benchmark::State& state) {
        bench::Cycle<Point> all(points());
        for (auto _ : state) {
            Point p = all.next();
            conv(&p.lat, &p.lon, &p.height, &p.x, &p.y, &p.z, kToCartesian);
            benchmark::DoNotOptimize(p);
        }
    });
    bench::addRow(forward, "GeographicLib Geocentric::Forward", [](benchmark::State& state) {
        const Geocentric& earth = Geocentric::WGS84();
        bench::Cycle<Point> all(points());
        for (auto _ : state) {
            Point p = all.next();
            earth.Forward(p.latDeg, p.lonDeg, p.height, p.x, p.y, p.z);
            benchmark::DoNotOptimize(p);
        }
    });

    const std::string reverse = "conv, geocentric to geodetic";
    bench::addRow(reverse, bench::kQuillon, [](benchmark::State& state) {
        if (!agreesOrSkip(state)) return;
        bench::Cycle<Point> all(points());
        for (auto _ : state) {
            Point p = all.next();
            conv(&p.lat, &p.lon, &p.height, &p.x, &p.y, &p.z, kToGeodetic);
            benchmark::DoNotOptimize(p);
        }
    });
    bench::addRow(reverse, "GeographicLib Geocentric::Reverse", [](benchmark::State& state) {
        const Geocentric& earth = Geocentric::WGS84();
        bench::Cycle<Point> all(points());
        for (auto _ : state) {
            Point p = all.next();
            earth.Reverse(p.x, p.y, p.z, p.latDeg, p.lonDeg, p.height);
            benchmark::DoNotOptimize(p);
        }
    });
}

const bool registered = [] {
    registerRows();
    return true;
}();

}  // namespace
