// Geodetic and geocentric coordinates on WGS 84, both directions, against
// GeographicLib's Geocentric.
#include <GeographicLib/Geocentric.hpp>

#include <cmath>
#include <string>
#include <vector>

#include <quillon/cpp/geodesy.hpp>
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

    // Many points at once: the C++ API's array form against GeographicLib
    // point by point, on a million points of every latitude from 1 km below
    // the ellipsoid to 40,000 km above it.
    struct Batch {
        std::vector<double> x, y, z, lat, lon, h;
    };
    static Batch batch;
    const std::string many = "geocentric to geodetic, 10^6 points a call";
    bench::addRow(many, bench::kQuillon, [](benchmark::State& state) {
        Batch& b = batch;
        if (b.x.empty()) {
            const std::size_t n = 1000000;
            const auto lat = bench::uniformValues(n, -90.0, 90.0, 0x6e3);
            const auto lon = bench::uniformValues(n, -180.0, 180.0, 0x6e4);
            const auto h = bench::uniformValues(n, -1000.0, 4.0e7, 0x6e5);
            b.x.resize(n), b.y.resize(n), b.z.resize(n), b.lat.resize(n), b.lon.resize(n), b.h.resize(n);
            for (std::size_t i = 0; i < n; ++i) Geocentric::WGS84().Forward(lat[i], lon[i], h[i], b.x[i], b.y[i], b.z[i]);
        }
        for (std::size_t i = 0; i < b.x.size(); i += 997) {
            double lat = 0, lon = 0, h = 0;
            Geocentric::WGS84().Reverse(b.x[i], b.y[i], b.z[i], lat, lon, h);
            quillon::to_geodetic(&b.x[i], &b.y[i], &b.z[i], &b.lat[i], &b.lon[i], &b.h[i], 1);
            if (std::fabs(b.lat[i] - lat * kRadiansPerDegree) > 1e-10 || std::fabs(b.h[i] - h) > 1e-4) {
                state.SkipWithError("the batch conversion and GeographicLib disagree on a point");
                return;
            }
        }
        for (auto _ : state) {
            quillon::to_geodetic(b.x.data(), b.y.data(), b.z.data(), b.lat.data(), b.lon.data(), b.h.data(),
                                 b.x.size());
            benchmark::DoNotOptimize(b.h.data());
        }
        state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(b.x.size()));
    })->Unit(benchmark::kMillisecond);
    bench::addRow(many, "GeographicLib Geocentric::Reverse", [](benchmark::State& state) {
        Batch& b = batch;
        if (b.x.empty()) {
            state.SkipWithError("runs after the library's row");
            return;
        }
        const Geocentric& earth = Geocentric::WGS84();
        for (auto _ : state) {
            for (std::size_t i = 0; i < b.x.size(); ++i) earth.Reverse(b.x[i], b.y[i], b.z[i], b.lat[i], b.lon[i], b.h[i]);
            benchmark::DoNotOptimize(b.h.data());
        }
        state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(b.x.size()));
    })->Unit(benchmark::kMillisecond);
}

const bool registered = [] {
    registerRows();
    return true;
}();

}  // namespace
