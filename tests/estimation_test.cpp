// Estimation through both doors: the median and its sorts, the robust line
// fit, the running median filter and the ring check, and the position
// estimator (the hosts' record and the C++ API).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "estimation/check_ring_value.h"
#include "estimation/median_of_few.h"
#include "estimation/slope_cost.h"
#include "estimation/solve_base_position.h"
#include "estimation/sort_values.h"
#include "quillon/cpp/estimation.hpp"
#include "quillon/estimation.h"
#include "quillon/geodesy.h"

namespace {

using quillon::Errc;
using quillon::ObservationKind;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Estimation, MedianSortsInPlace) {
    const struct {
        std::vector<double> input, sorted;
        double median;
    } rows[] = {
        {{3, 1, 2}, {1, 2, 3}, 2}, {{4, 1, 3, 2}, {1, 2, 3, 4}, 2.5}, {{5}, {5}, 5},
        {{5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5}, 2.5}, {{2, -1, 2, -1, 0}, {-1, -1, 0, 2, 2}, 0},
        {{1e308, 1e308}, {1e308, 1e308}, kInf},  // the sum is formed first
        {{}, {}, kNaN},
    };
    for (const auto& row : rows) {
        std::vector<double> values = row.input;
        double median = -99.0;
        centTend(values.data(), static_cast<int>(values.size()), &median);
        EXPECT_EQ(values, row.sorted);
        EXPECT_TRUE(median == row.median || (std::isnan(median) && std::isnan(row.median))) << median;
    }
    double two[2] = {2.0, 1.0}, median = 5.0;
    centTend(two, -1, &median);
    EXPECT_TRUE(std::isnan(median) && two[0] == 2.0) << "a count below 1 touches nothing";
    std::vector<double> nans = {3, kNaN, 1, 4, kNaN, 1, 5, 9, 2, 6};
    quillon::estimation::sortValues(int(nans.size()), nans.data());
    nans.erase(std::remove_if(nans.begin(), nans.end(), [](double v) { return std::isnan(v); }), nans.end());
    std::sort(nans.begin(), nans.end());
    EXPECT_EQ(nans, (std::vector<double>{1, 1, 2, 3, 4, 5, 6, 9})) << "NaN samples keep a permutation";
}

// The fast sort must leave the heap sort's array to the bit (ties,
// infinities, zeros of one sign or both, NaNs where the heap sort's order
// decides), both sort like std::sort without NaNs, and the filters' median
// of a window must be the sort's median to the bit.
TEST(Estimation, SortsAndMediansAgreeBitForBit) {
    const double specials[] = {0.0, -0.0, kInf, -kInf, kNaN, 5e-324};
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> tie(-6, 6), pick(0, 29);
    std::uniform_real_distribution<double> spread(-1e3, 1e3);
    for (int n = 0; n <= 300; ++n) {
        for (int trial = 0; trial < 6; ++trial) {
            // Trials 0 and 1 hold zeros of one sign and no NaN (the fast
            // path), trial 2 both zeros, the rest NaNs too (the heap sort).
            const bool allowed[] = {trial != 1, trial != 0, true, true, trial >= 3, true};
            std::vector<double> values(n);
            for (double& v : values) {
                const int p = pick(rng);
                v = p < 6 && allowed[p] ? specials[p] : p < 18 ? tie(rng) * 0.5 : spread(rng);
            }
            std::vector<double> heap = values, sorted = values, work = values;
            quillon::estimation::heapSortValues(n, heap.data());
            quillon::estimation::sortValues(n, sorted.data());
            ASSERT_TRUE(n == 0 || std::memcmp(sorted.data(), heap.data(), n * sizeof(double)) == 0)
                << "n " << n << " trial " << trial;
            if (trial < 3) {
                std::sort(values.begin(), values.end());
                ASSERT_EQ(values, heap) << "n " << n << " trial " << trial;
            }
            if (n == 0 || n > 40) continue;
            const double expected = quillon::estimation::medianOfSorted(sorted.data(), n);
            const double actual = quillon::estimation::medianOfFew(work.data(), n);
            ASSERT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0) << "n " << n << " trial " << trial;
        }
    }
}

struct Fit { double a = -123.0, b = -123.0, dev = -123.0; };

Fit fitLine(std::vector<double> x, std::vector<double> y) {
    const std::vector<double> x0 = x, y0 = y;
    Fit f;
    centTendFit(x.data(), y.data(), static_cast<int>(x.size()), &f.a, &f.b, &f.dev);
    EXPECT_TRUE(std::memcmp(x.data(), x0.data(), x.size() * sizeof(double)) == 0 &&
                std::memcmp(y.data(), y0.data(), y.size() * sizeof(double)) == 0)
        << "the samples are not changed";
    return f;
}

// The hosts' fit, and the API's where it has an answer; the API's error
// codes where the hosts' fit writes NaN or the mean abscissa.
TEST(Estimation, LineFitsThroughBothDoors) {
    const double up = 1e8 + 3 * 1.4901161193847656e-08;  // the spread of the abscissae lost to rounding
    const struct {
        const char* name;
        std::vector<double> x, y;
        double a, b, dev, tolerance;  // NaN: all three NaN
        Errc code;                    // the API's, when it refuses
    } rows[] = {
        {"exact line", {0, 1, 2, 3, 4}, {2, 5, 8, 11, 14}, 2, 3, 0, 1e-12, {}},
        {"two points", {1, 3}, {2, 7}, -0.5, 2.5, 0, 1e-12, {}},
        {"one wild point", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 100}, 0, 1, 19.2, 0.1, {}},
        {"equal abscissae: mean abscissa, slope 0", {2, 2, 2}, {1, 5, 9}, 2, 0, 0, 0, Errc::singular},
        {"one point", {4}, {9}, 4, 0, 0, 0, Errc::singular},
        {"NaN ordinate", {0, 1, 2, 3}, {0, kNaN, 2, 3}, kNaN, 0, 0, 0, Errc::not_finite},
        {"infinite abscissa", {0, kInf, 2, 3}, {0, 1, 2, 3}, kNaN, 0, 0, 0, Errc::not_finite},
        {"NaN ordinate at equal abscissae", {2, 2, 2}, {1, kNaN, 3}, kNaN, 0, 0, 0, Errc::not_finite},
        {"abscissae too close to resolve", {up, 1e8, up, up, 1e8}, {1, 2, 3, 4, 5}, kNaN, 0, 0, 0, Errc::not_finite},
        {"squares overflow", {0, 1, 2, 3}, {1e200, -1e200, 1e200, 0}, kNaN, 0, 0, 0, Errc::not_finite},
    };
    quillon::LineFit api;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Fit f = fitLine(row.x, row.y);
        const auto line = api.fit(row.x.data(), row.y.data(), row.x.size());
        if (std::isnan(row.a)) {
            EXPECT_TRUE(std::isnan(f.a) && std::isnan(f.b) && std::isnan(f.dev)) << f.a << " " << f.b << " " << f.dev;
        } else {
            EXPECT_NEAR(f.a, row.a, row.tolerance);
            EXPECT_NEAR(f.b, row.b, row.tolerance);
            EXPECT_NEAR(f.dev, row.dev, row.tolerance);
        }
        if (line.ok()) {
            EXPECT_TRUE(line->a == f.a && line->b == f.b && line->mean_abs_dev == f.dev);
        } else {
            EXPECT_EQ(line.error().code, row.code) << line.error().message;
        }
        EXPECT_EQ(line.ok(), row.code == Errc{});
    }
    for (int n : {0, -5}) {
        double x = 1, y = 1;
        Fit f;
        centTendFit(&x, &y, n, &f.a, &f.b, &f.dev);
        EXPECT_TRUE(std::isnan(f.a) && f.b == 0.0 && f.dev == 0.0) << "n " << n;
    }
    EXPECT_EQ(api.fit(nullptr, nullptr, 0).error().code, Errc::invalid_argument);

    std::vector<double> x = {1, 2, 3}, y = {1, 2, 3};
    auto& fit = quillon::estimation::fitRecord();
    fit.count = 3;
    fit.x = x.data();
    fit.y = y.data();
    // Slope 1: every residual is zero, counted as below the line, so every
    // abscissa is subtracted.
    EXPECT_EQ(quillon::estimation::slopeCost(1.0), -6.0);
    EXPECT_EQ(fit.intercept + fit.absDevSum, 0.0);
    // Slope 0: residuals 1 - 2, 0, 3 - 2 around the median 2.
    EXPECT_EQ(quillon::estimation::slopeCost(0.0), 3.0 - 1.0 - 2.0);
    EXPECT_EQ(fit.intercept * 10 + fit.absDevSum, 22.0);
}

struct Step { double value; int result; double output; int status; };

TEST(Estimation, FilterDataScreensAStreamAgainstTheMedian) {
    for (auto [asked, got] : {std::pair{50, 30}, std::pair{30, 30}, std::pair{0, 1}, std::pair{-7, 1}})
        EXPECT_EQ(FilterData(asked).size, got) << "window " << asked;
    EXPECT_EQ(quillon::MedianFilter(45).window(), 30);
    FilterData filter;
    EXPECT_TRUE(filter.auxOutput == 0 && filter.status == 0 && filter.count == 0 && filter.output == 0.0);
    quillon::MedianFilter api(20, 500.0);  // the filter that owns its ring screens alike
    const Step steps[] = {{10.0, 0, 10.0, 0}, {10.1, 0, 10.1, 0}, {9.9, 1, 10.0, 1},  {10.2, 1, 10.05, 1},
                          {9.8, 1, 10.0, 2},  {50.0, 0, 50.0, 0}, {10.0, 1, 10.0, 2}, {0.0, 0, 0.0, 0}};
    for (int i = 0; i < 8; ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(filter.addData(s.value, i, 0.5, 20), s.result) << "sample " << i;
        EXPECT_DOUBLE_EQ(filter.output, s.output) << "sample " << i;
        EXPECT_EQ(filter.status, s.status) << "sample " << i;
        EXPECT_EQ(filter.auxOutput, 0);
        const quillon::SampleOutcome o = api.add(s.value, i, 0.5, 20);
        EXPECT_TRUE(o.accepted == (s.result == 1) && o.output == filter.output && o.status == s.status) << i;
    }
    EXPECT_EQ(api.count(), filter.count);
    EXPECT_EQ(filter.lastIndex, 8) << "the first sample lands in slot 1";
    EXPECT_EQ(filter.addData(10.0, 600.0, 0.5, 20), 0) << "the walk stops at the first sample older than the gate";

    FilterData three, wide(50);
    for (int i = 0; i < 40; ++i) {
        const double value = 100.0 + i;  // a ramp: the median of the newest k is value - (k-1)/2
        three.addData(value, i, 1000.0, 3);
        EXPECT_LE(three.status, 1) << "sample " << i;
        wide.addData(value, i, 1000.0, 30);
        if (i >= 19) {
            EXPECT_EQ(wide.output, value - 9.5) << "sample " << i << ": a median of 20 at most";
        }
    }
    EXPECT_EQ(three.output, 138.0);
    FilterData zeroLimit;
    for (int i = 0; i < 6; ++i) zeroLimit.addData(5.0, i, 0.5, 0);
    EXPECT_EQ(zeroLimit.status, 2) << "a non-zero newest sample lets the walk run on";
    FilterData outside;
    outside.addData(10.0, 0, 0.5, 20);
    outside.addData(12.0, 1, 0.5, 20);
    EXPECT_EQ(outside.addData(10.2, 2, 0.5, 20), 0) << "median 10.2, but 12.0 lies outside";
    for (int i = 3; i < 8; ++i) outside.addData(10.0, i, 0.5, 20);
    EXPECT_EQ(outside.addData(kNaN, 8, 0.5, 20), 0) << "a NaN sample is never accepted";
    // Public fields set out of range by a caller stay inside the ring.
    for (auto [size, lastIndex, count] : {std::tuple{0, 5, 3}, std::tuple{-3, -40, -2}, std::tuple{99, 77, 1000}}) {
        FilterData odd;
        odd.size = size;
        odd.lastIndex = lastIndex;
        odd.count = count;
        odd.addData(1.0, 0, 0.5, 20);
        EXPECT_TRUE(odd.lastIndex >= 0 && odd.lastIndex < 30 && odd.count <= odd.size);
    }
}

// A ring's sorted window, kept per thread, is a shortcut only: a filter fed alone and one among more
// filters than are kept agree bit for bit, with missing readings, NaN, outliers, ties, time running
// back, a changing limit and values its owner writes into the ring.
TEST(Estimation, FilterOutcomesDoNotDependOnOtherFilters) {
    std::mt19937_64 random(7);
    auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    for (int window : {5, 20, 30}) {
        std::vector<std::array<double, 5>> stream;  // value, time, tolerance, limit, ring slot written (-1: none)
        double clock = 0.0;
        for (int i = 0; i < 3000; ++i) {
            const int kind = pick(100);
            const double value = kind < 5 ? 0.0 : kind < 7 ? kNaN : kind < 10 ? 50.0 : 10.0 + 0.1 * (pick(9) - 4);
            clock += kind == 99 ? -5.0 : double(pick(3));
            stream.push_back({value, clock, 0.3 + 0.2 * pick(3), pick(20) == 0 ? double(pick(25) - 2) : 20.0,
                              pick(40) == 0 ? double(pick(window)) : -1.0});
        }
        auto run = [&stream, window](int others) {
            std::vector<FilterData> filters(std::size_t(1 + others), FilterData(window, 30.0));
            std::vector<double> outcomes;
            for (const auto& [value, time, tolerance, limit, slot] : stream) {
                for (int i = 1; i <= others; ++i) filters[std::size_t(i)].addData(value + i, time, tolerance, int(limit));
                if (slot >= 0) filters[0].values[int(slot)] = 3.0;
                outcomes.insert(outcomes.end(), {double(filters[0].addData(value, time, tolerance, int(limit))),
                                                 filters[0].output, double(filters[0].status)});
            }
            return outcomes;
        };
        const std::vector<double> alone = run(0), amongMany = run(6);
        ASSERT_EQ(alone.size(), amongMany.size());
        EXPECT_EQ(std::memcmp(alone.data(), amongMany.data(), alone.size() * sizeof(double)), 0) << "window " << window;
    }
}

TEST(Estimation, RingCheckWalksBackAcrossTheWrapOrWritesNothing) {
    const struct {
        const char* name;
        std::vector<double> samples;  // newest first, one time unit apart
        int index, maxExamined;
        double age;  // of the samples from the fourth on
        int result;
    } rows[] = {
        {"across the wrap, the raw value", {100, 101, 0, 99, 102, 98}, 2, 500, 3, 1},
        {"four values only", {100, 101, 0, 99, 102}, 2, 500, 3, 0},
        {"maxExamined cuts the walk", {100, 101, 99, 102, 98}, 2, 4, 3, 0},
        {"maxExamined zero", {100, 101, 99, 102, 98}, 2, 0, 3, 0},
        {"newest 150 or more from the median", {300, 101, 99, 102, 98, 100}, 2, 500, 3, 0},
        {"index outside the ring", {100, 101, 99, 102, 98}, 500, 500, 3, 0},
        {"index 0, across the wrap", {100, 101, 0, 99, 102, 98}, 0, 500, 3, 1},
        {"negative index", {100, 101, 99, 102, 98}, -1, 500, 3, 0},
        {"samples 180 old still count", {100, 101, 99, 102, 98, 100}, 10, 500, 180, 1},
        {"older ones stop the walk", {100, 101, 99, 102, 98, 100}, 10, 500, 181, 0},
    };
    for (const auto& row : rows) {
        std::vector<double> values(quillon::estimation::kRingSlots, 0.0), times(values.size(), -1e9);
        for (size_t k = 0; k < row.samples.size(); ++k) {
            const int slot = (((row.index % 500) + 500) % 500 - int(k) + 500) % 500;
            values[slot] = row.samples[k];
            times[slot] = 1000.0 - (k < 3 ? double(k) : row.age);
        }
        double out = -1.0;
        std::int64_t aux = -1;
        EXPECT_EQ(quillon::estimation::checkRingValue(values.data(), times.data(), row.index, row.maxExamined, &out,
                                                      &aux),
                  row.result)
            << row.name;
        EXPECT_EQ(out, row.result ? row.samples[0] : -1.0) << row.name;
        EXPECT_EQ(aux, row.result ? 0 : -1) << row.name;
    }
}

// ---- the position estimator ------------------------------------------------

using quillon::estimation::solveBasePosition;
using quillon::estimation::StationObservation;

struct Scene {
    double heading = 0, pitch = 0, roll = 0;
    double offset[3] = {0, 0, 0};
    std::vector<CalcBaseStation> stations;
    std::vector<StationObservation> observations;

    int solve(double& x, double& y, double& z, int n) const {
        return solveBasePosition(&y, &x, &z, heading, pitch, roll, observations.data(),
                                 static_cast<int>(observations.size()), offset,
                                 stations.empty() ? nullptr : stations.data(), n);
    }
};

StationObservation observation(int type, double value, double sigma, int station = 0, int other = 0) {
    return {value, sigma, type, other, station};
}

CalcBaseStation station(double x, double y, double z) {
    CalcBaseStation s;
    s.x = x;
    s.y = y;
    s.z = z;
    EXPECT_EQ(s.tag * 10 + s.name[0], 0);
    return s;
}

TEST(Estimation, SolveBasePositionFailuresLeaveTheEstimateAlone) {
    Scene direct;  // and an observation of sigma 0 that changes nothing
    direct.observations = {observation(3, 100.0, 1.0), observation(2, 200.0, 1.0), observation(3, 5000.0, 0.0)};
    double x = 0, y = 0, z = 5;
    EXPECT_EQ(direct.solve(x, y, z, 2), 1);
    EXPECT_EQ(x * 1000 + y, 100200.0);
    EXPECT_EQ(z, 5.0);
    direct.offset[1] = 1.0;  // one unit forward, heading east
    direct.heading = 90.0;
    EXPECT_EQ(direct.solve(x, y, z, 2), 1);
    EXPECT_LE(std::fmax(std::fabs(x - 99.0), std::fabs(y - 200.0)), 1e-12) << x << " " << y;

    // Refusals of the API's that its own table has not (a NaN, a runaway and
    // zero sigmas are there), and a station index below 0.
    std::vector<Scene> scenes(6);
    scenes[0].observations = {observation(3, 1.0, 1.0), observation(7, 50.0, 1.0)};     // height with n = 2
    scenes[1].observations = {observation(8, 1.0, 1.0), observation(-1, 1.0, 1.0)};    // unknown kinds
    scenes[2].observations = {observation(3, 10.0, 1.0), observation(3, 11.0, 1.0)};   // northing undetermined
    for (int k = 0; k < 3; ++k) scenes[3].offset[k] = -1.0 - k;  // the start (1, 2, 3)'s sensor on the origin
    scenes[3].observations = {observation(5, 45.0, 1.0), observation(4, 10.0, 1.0)};
    scenes[4].observations = {observation(3, 1.0, 1.0), observation(0, 5.0, 1.0, -1)};
    scenes[5].observations = {observation(3, 100.0, 1.0), observation(2, 200.0, 1.0)};
    for (std::size_t i = 0; i < scenes.size(); ++i) {
        for (int n : {2, 0, 1, 4}) {
            if (i < 5 && n != 2) continue;
            if (i == 5 && n == 2) continue;  // solvable: n out of range only
            x = 1.0, y = 2.0, z = 3.0;
            EXPECT_EQ(scenes[i].solve(x, y, z, n), 0) << "scene " << i << ", n " << n;
            EXPECT_TRUE(x == 1.0 && y == 2.0 && z == 3.0) << "scene " << i << ", n " << n;
        }
    }
}

// Noiseless observations of every kind from random true positions, platform
// attitudes and offsets: both solutions recover the true position.
TEST(Estimation, SolveBasePositionRecoversRandomTruePositionsFromEveryKind) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto in = [&](double lo, double hi) { return lo + (hi - lo) * u(rng); };
    const double r = 3.141592653589793 / 180.0;
    for (int trial = 0; trial < 200; ++trial) {
        Scene s;
        s.heading = in(0, 360);
        s.pitch = in(-10, 10);
        s.roll = in(-10, 10);
        for (double& o : s.offset) o = in(-3, 3);
        const double tx = in(2000, 4000), ty = in(2000, 4000), tz = in(-20, 20);
        for (int k = 0; k < 4; ++k) s.stations.push_back(station(tx + in(-800, 800), ty + in(-800, 800), in(-50, 50)));
        // The sensor point of the true reference position, as the platform carries it.
        const double along = s.offset[1] + s.offset[2] * std::sin(s.pitch * r);
        const double across = s.offset[0] + s.offset[2] * std::sin(s.roll * r);
        const double px = tx + along * std::sin(s.heading * r) + across * std::cos(s.heading * r);
        const double py = ty + along * std::cos(s.heading * r) - across * std::sin(s.heading * r), pz = tz + s.offset[2];
        for (int k = 0; k < 4; ++k) {
            const CalcBaseStation &st = s.stations[k], &other = s.stations[(k + 1) % 4];
            const double dx = px - st.x, dy = py - st.y, dz = pz - st.z;
            s.observations.push_back(observation(0, std::sqrt(dy * dy + dx * dx + dz * dz), 0.01, k));
            s.observations.push_back(
                observation(1, std::hypot(px - other.x, py - other.y) - std::hypot(dx, dy), 0.02, k, (k + 1) % 4));
            s.observations.push_back(observation(6, arctan(dx, dy), 0.001, k));
        }
        s.observations.push_back(observation(2, py, 0.05));
        s.observations.push_back(observation(3, px, 0.05));
        s.observations.push_back(observation(4, std::sqrt(px * px + py * py + pz * pz), 0.01));
        s.observations.push_back(observation(5, arctan(px, py), 0.001));
        s.observations.push_back(observation(7, pz, 0.01));
        for (int n : {2, 3}) {
            double x = tx + in(-5, 5), y = ty + in(-5, 5), z = n == 3 ? tz + in(-5, 5) : tz;
            const double startZ = z;
            // The iteration stops once a correction is below 1; a second call
            // from there converges at once and reaches full precision.
            ASSERT_EQ(s.solve(x, y, z, n), 1) << "trial " << trial << " n " << n;
            ASSERT_EQ(s.solve(x, y, z, n), 1) << "trial " << trial << " n " << n;
            EXPECT_LE(std::fmax(std::fabs(x - tx), std::fabs(y - ty)), 1e-6) << "trial " << trial << " n " << n;
            EXPECT_NEAR(z, n == 3 ? tz : startZ, n == 3 ? 1e-6 : 0.0) << "the height is held with n = 2";
        }
    }
}

quillon::Observation apiObservation(ObservationKind kind, double value, double sigma, std::size_t station = 0,
                                    std::size_t other = 0) {
    return {kind, value, sigma, station, other};
}

TEST(Estimation, SolvePositionReportsItsErrors) {
    const std::vector<quillon::Station> stations = {{0, 0, 0}, {1000, 0, 0}};
    const auto easting = apiObservation(ObservationKind::easting, 100.0, 1.0);
    const auto northing = apiObservation(ObservationKind::northing, 200.0, 1.0);
    const struct {
        const char* name;
        std::vector<quillon::Observation> observations;
        int dims;
        Errc code;
    } rows[] = {
        {"dims 4", {easting, northing}, 4, Errc::invalid_argument},
        {"station outside", {easting, apiObservation(ObservationKind::bearing, 10.0, 1.0, 2)}, 2, Errc::invalid_argument},
        {"second station outside",
         {easting, apiObservation(ObservationKind::range_difference, 10.0, 1.0, 0, 5)}, 2, Errc::invalid_argument},
        {"all sigmas zero", {apiObservation(ObservationKind::easting, 1.0, 0.0)}, 2, Errc::singular},
        {"height undetermined", {easting, northing}, 3, Errc::singular},
        {"NaN observation", {easting, apiObservation(ObservationKind::northing, kNaN, 1.0)}, 2, Errc::not_finite},
        {"easting beyond the range", {apiObservation(ObservationKind::slope_range, 500.0, 0.01),
                                      apiObservation(ObservationKind::easting, 600.0, 0.01)}, 2, Errc::not_converged},
        {"runaway", {apiObservation(ObservationKind::easting, 2e5, 1.0), northing}, 2, Errc::out_of_range},
    };
    for (const auto& row : rows) {
        const auto r = quillon::solve_position(stations.data(), stations.size(), row.observations.data(),
                                               row.observations.size(), quillon::Platform{}, {600.0, 100.0, 0.0},
                                               row.dims);
        ASSERT_FALSE(r.ok()) << row.name;
        EXPECT_TRUE(r.error().code == row.code && !r.error().message.empty()) << row.name << ": " << r.error().message;
    }
    // An unused observation's index is never looked at.
    const std::vector<quillon::Observation> ignored = {easting, northing,
                                                       apiObservation(ObservationKind::bearing, 1.0, 0.0, 99)};
    EXPECT_TRUE(quillon::solve_position(nullptr, 0, ignored.data(), ignored.size(), quillon::Platform{}, {}, 2).ok());
    EXPECT_TRUE(std::isnan(quillon::observation_residual(apiObservation(ObservationKind::slope_range, 1.0, 1.0, 2),
                                                         stations.data(), stations.size(), quillon::Platform{}, {})));
}

// Exact ranges to (300, 400) from three stations, from (350, 450): three
// iterations, and the residuals there vanish. Then two eastings of sigma 1
// that disagree by 2 and a northing of sigma 2: easting 101 +- 1/sqrt(2),
// northing 200 +- 2, and the residuals -1, +1, 0 over one redundant
// observation give sigma0 sqrt(2); without redundancy there is no sigma0.
TEST(Estimation, SolvePositionConvergesAndReportsStandardDeviationsAndSigma0) {
    const std::vector<quillon::Station> stations = {{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}};
    std::vector<quillon::Observation> ranges;
    for (std::size_t s = 0; s < stations.size(); ++s)
        ranges.push_back(apiObservation(ObservationKind::slope_range,
                                        std::hypot(300.0 - stations[s].easting, 400.0 - stations[s].northing), 0.01, s));
    const auto r = quillon::solve_position(stations.data(), stations.size(), ranges.data(), ranges.size(),
                                           quillon::Platform{}, {350.0, 450.0, 0.0}, 2);
    ASSERT_TRUE(r.ok()) << r.error().message;
    EXPECT_TRUE(r->iterations == 3 && std::fabs(r->position.easting - 300.0) <= 1e-6 &&
                std::fabs(r->position.northing - 400.0) <= 1e-6 && r->position.height == 0.0)
        << r->iterations << " " << r->position.easting << " " << r->position.northing << " " << r->position.height;
    for (const auto& ob : ranges)
        EXPECT_NEAR(quillon::observation_residual(ob, stations.data(), stations.size(), quillon::Platform{}, r->position),
                    0.0, 1e-6);

    const std::vector<quillon::Observation> redundant = {apiObservation(ObservationKind::easting, 100.0, 1.0),
                                                         apiObservation(ObservationKind::easting, 102.0, 1.0),
                                                         apiObservation(ObservationKind::northing, 200.0, 2.0)};
    const auto sd = quillon::solve_position(nullptr, 0, redundant.data(), redundant.size(), quillon::Platform{}, {}, 2);
    ASSERT_TRUE(sd.ok()) << sd.error().message;
    EXPECT_NEAR(sd->position.easting, 101.0, 1e-9);
    EXPECT_NEAR(sd->standard_deviation[0], std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(sd->standard_deviation[1], 2.0, 1e-12);
    EXPECT_NEAR(sd->sigma0, std::sqrt(2.0), 1e-9);
    EXPECT_TRUE(std::isnan(sd->standard_deviation[2]) && sd->redundancy == 1) << sd->redundancy;
    const auto exact = quillon::solve_position(nullptr, 0, redundant.data() + 1, 2, quillon::Platform{}, {}, 2);
    EXPECT_TRUE(exact.ok() && exact->redundancy == 0 && std::isnan(exact->sigma0));
}

}  // namespace
