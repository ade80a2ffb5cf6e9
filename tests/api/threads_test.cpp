// Objects of the C++ API hold all their state: two of them used on two
// threads at once give what they give one after the other. Run under
// ThreadSanitizer by `make test-tsan`.
#include <gtest/gtest.h>

#include <quillon/quillon.hpp>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

// Runs both jobs one after the other, then both at once, and returns the
// results of each way.
template <class R>
std::pair<std::vector<R>, std::vector<R>> sequentialAndConcurrent(const std::function<R(int)>& job) {
    std::vector<R> sequential{job(0), job(1)};
    std::vector<R> concurrent(2);
    std::thread a([&] { concurrent[0] = job(0); });
    std::thread b([&] { concurrent[1] = job(1); });
    a.join();
    b.join();
    return {sequential, concurrent};
}

TEST(Threads, LineFitsGeneratorsSettingsAndConversionsDoNotMeet) {
    // Line fits: different data sets, each needing many cost evaluations.
    auto fits = sequentialAndConcurrent<std::vector<double>>([](int which) {
        std::vector<double> x, y;
        for (int i = 0; i < 2000; ++i) {
            x.push_back(i);
            y.push_back((which + 1) * 0.5 * i + ((i * 7919) % 13) - 6.0 + (i % 97 == 0 ? 300.0 : 0.0));
        }
        quillon::LineFit fit;
        std::vector<double> out;
        for (int round = 0; round < 20; ++round) {
            auto line = fit.fit(x.data(), y.data(), x.size());
            out.push_back(line ? line->a + line->b + line->mean_abs_dev : -1.0);
        }
        return out;
    });
    EXPECT_EQ(fits.first, fits.second);

    // Normal generators with their own seeds.
    auto draws = sequentialAndConcurrent<std::vector<double>>([](int which) {
        quillon::NormalGenerator generator(which == 0 ? 1 : 7);
        std::vector<double> out;
        for (int i = 0; i < 20000; ++i) out.push_back(generator.next());
        return out;
    });
    EXPECT_EQ(draws.first, draws.second);
    EXPECT_NE(draws.first[0], draws.first[1]);

    // Unit settings saved to and read back from files of their own.
    testing_support::TempDir dir;
    auto settings = sequentialAndConcurrent<std::vector<int>>([&dir](int which) {
        const std::string path = dir.file("units-" + std::to_string(which) + ".ini");
        std::vector<int> out;
        for (int round = 0; round < 20; ++round) {
            quillon::Units units;
            units.dist_units = (which + round) % quillon::kUnitCount;
            units.default_entry = which * 100 + round;
            if (!units.save(path).ok()) return std::vector<int>{-1};
            auto back = quillon::Units::read(path);
            out.push_back(back ? back->dist_units * 1000 + back->default_entry : -2);
        }
        return out;
    });
    EXPECT_EQ(settings.first, settings.second);

    // Conversions of different point sets, single and batched.
    auto conversions = sequentialAndConcurrent<std::vector<double>>([](int which) {
        std::vector<double> x, y, z, lat(500), lon(500), h(500);
        for (int i = 0; i < 500; ++i) {
            x.push_back(6378137.0 * (which == 0 ? 0.7 : -0.3) + i);
            y.push_back(1000.0 * i);
            z.push_back(4000000.0 + (which == 0 ? 1.0 : -1.0) * i * 5000.0);
        }
        quillon::to_geodetic(x.data(), y.data(), z.data(), lat.data(), lon.data(), h.data(), x.size());
        std::vector<double> out;
        for (int i = 0; i < 500; ++i) {
            const auto one = quillon::to_geodetic({x[i], y[i], z[i]});
            out.push_back(one.point.latitude - lat[i] + one.point.height);
        }
        return out;
    });
    EXPECT_EQ(conversions.first, conversions.second);
}

}  // namespace
