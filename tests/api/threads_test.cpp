// Objects of the C++ API hold all their state: two of them used on two
// threads at once give what they give one after the other. Run under
// ThreadSanitizer by `make test-tsan`.
#include <gtest/gtest.h>

#include <quillon/quillon.hpp>

#include <string>
#include <thread>
#include <vector>

#include "test_support.h"

namespace {

// One thread's work on data of its own: line fits of a set needing many
// cost evaluations, a generator with its own seed, unit settings saved to
// and read back from a file of their own, and conversions single and batched.
std::vector<double> job(int which, const testing_support::TempDir& dir) {
    std::vector<double> out, x, y, z, lat(500), lon(500), h(500);
    for (int i = 0; i < 2000; ++i) {
        x.push_back(i);
        y.push_back((which + 1) * 0.5 * i + ((i * 7919) % 13) - 6.0 + (i % 97 == 0 ? 300.0 : 0.0));
    }
    quillon::LineFit fit;
    for (int round = 0; round < 20; ++round) {
        auto line = fit.fit(x.data(), y.data(), x.size());
        out.push_back(line ? line->a + line->b + line->mean_abs_dev : -1.0);
    }
    quillon::NormalGenerator generator(which == 0 ? 1 : 7);
    for (int i = 0; i < 20000; ++i) out.push_back(generator.next());
    const std::string path = dir.file("units-" + std::to_string(which) + ".ini");
    for (int round = 0; round < 20; ++round) {
        quillon::Units units;
        units.dist_units = (which + round) % quillon::kUnitCount;
        units.default_entry = which * 100 + round;
        auto back = units.save(path).ok() ? quillon::Units::read(path) : quillon::Units::read("");
        out.push_back(back ? back->dist_units * 1000 + back->default_entry : -2);
    }
    x.clear(), y.clear();
    for (int i = 0; i < 500; ++i) {
        x.push_back(6378137.0 * (which == 0 ? 0.7 : -0.3) + i);
        y.push_back(1000.0 * i);
        z.push_back(4000000.0 + (which == 0 ? 1.0 : -1.0) * i * 5000.0);
    }
    quillon::to_geodetic(x.data(), y.data(), z.data(), lat.data(), lon.data(), h.data(), x.size());
    for (int i = 0; i < 500; ++i) {
        const auto one = quillon::to_geodetic({x[i], y[i], z[i]});
        out.push_back(one.point.latitude - lat[i] + one.point.height);
    }
    return out;
}

TEST(Threads, LineFitsGeneratorsSettingsAndConversionsDoNotMeet) {
    const testing_support::TempDir dir;
    const std::vector<std::vector<double>> sequential{job(0, dir), job(1, dir)};
    std::vector<std::vector<double>> concurrent(2);
    std::thread a([&] { concurrent[0] = job(0, dir); });
    std::thread b([&] { concurrent[1] = job(1, dir); });
    a.join();
    b.join();
    EXPECT_EQ(sequential, concurrent);
    EXPECT_NE(sequential[0][20], sequential[1][20]) << "the generators' seeds differ";
}

}  // namespace
