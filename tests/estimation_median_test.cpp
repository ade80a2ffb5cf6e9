// The heap sort and the median.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "estimation/median_of_few.h"
#include "estimation/sort_values.h"
#include "quillon/estimation.h"

namespace {

TEST(EstimationCentTend, SortsInPlaceAndReportsTheMedian) {
    const struct {
        std::vector<double> input;
        std::vector<double> sorted;
        double median;
    } cases[] = {
        {{3, 1, 2}, {1, 2, 3}, 2},
        {{4, 1, 3, 2}, {1, 2, 3, 4}, 2.5},
        {{5}, {5}, 5},
        {{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5}, 3},
        {{5, 4, 3, 2, 1, 0}, {0, 1, 2, 3, 4, 5}, 2.5},
        {{7, 7, 7, 7}, {7, 7, 7, 7}, 7},
        {{2, -1, 2, -1, 0}, {-1, -1, 0, 2, 2}, 0},
        {{1e308, 1e308}, {1e308, 1e308}, INFINITY},  // the sum is formed first
    };
    for (const auto& c : cases) {
        std::vector<double> values = c.input;
        double median = -99.0;
        centTend(values.data(), static_cast<int>(values.size()), &median);
        EXPECT_EQ(values, c.sorted) << "input size " << c.input.size() << " first " << c.input[0];
        EXPECT_EQ(median, c.median) << "input size " << c.input.size() << " first " << c.input[0];
    }
}

TEST(EstimationCentTend, CountBelowOneWritesNaNAndTouchesNothing) {
    for (int count : {0, -1, -1000}) {
        double values[2] = {2.0, 1.0};
        double median = 5.0;
        centTend(values, count, &median);
        EXPECT_TRUE(std::isnan(median)) << "count " << count << " gave " << median;
        EXPECT_EQ(values[0], 2.0);
        EXPECT_EQ(values[1], 1.0);
    }
}

TEST(EstimationSortValues, AgreesWithStdSortOnRandomArrays) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> small(-5, 5);  // many ties
    for (int n = 0; n <= 200; ++n) {
        std::vector<double> values(n);
        for (double& v : values) v = small(rng) * 0.5;
        std::vector<double> expected = values;
        std::sort(expected.begin(), expected.end());
        quillon::estimation::sortValues(n, values.data());
        EXPECT_EQ(values, expected) << "n " << n;
    }
}

// The fast sort must leave exactly the heap sort's array: ties, infinities,
// zeros of one sign or both, NaNs (where the heap sort's order decides).
TEST(EstimationSortValues, LeavesTheHeapSortsArrayBitForBit) {
    const double specials[] = {0.0, -0.0, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), std::nan(""), 5e-324};
    std::mt19937 rng(17);
    std::uniform_int_distribution<int> tie(-6, 6);
    std::uniform_real_distribution<double> spread(-1e3, 1e3);
    std::uniform_int_distribution<int> pick(0, 29);
    for (int n = 0; n <= 300; ++n) {
        for (int trial = 0; trial < 6; ++trial) {
            // Trials 0 and 1 hold zeros of one sign and no NaN (the fast
            // path), trial 2 both zeros, the rest NaNs too (the heap sort).
            const bool allowed[] = {trial != 1, trial != 0, true, true, trial >= 3, true};
            std::vector<double> values(n);
            for (double& v : values) {
                const int p = pick(rng);
                if (p < 6 && allowed[p]) v = specials[p];
                else v = p < 18 ? tie(rng) * 0.5 : spread(rng);
            }
            std::vector<double> expected = values;
            quillon::estimation::heapSortValues(n, expected.data());
            quillon::estimation::sortValues(n, values.data());
            ASSERT_TRUE(n == 0 || std::memcmp(values.data(), expected.data(), n * sizeof(double)) == 0)
                << "n " << n << " trial " << trial;
        }
    }
}

TEST(EstimationSortValues, NaNSamplesKeepTheArrayAPermutation) {
    const double nan = std::nan("");
    std::vector<double> values = {3, nan, 1, 4, nan, 1, 5, 9, 2, 6};
    quillon::estimation::sortValues(static_cast<int>(values.size()), values.data());
    EXPECT_EQ(std::count_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }), 2);
    std::vector<double> finite;
    for (double v : values)
        if (!std::isnan(v)) finite.push_back(v);
    std::sort(finite.begin(), finite.end());
    EXPECT_EQ(finite, (std::vector<double>{1, 1, 2, 3, 4, 5, 6, 9}));
    double median = 0.0;
    std::vector<double> allNan(4, nan);
    centTend(allNan.data(), 4, &median);
    EXPECT_TRUE(std::isnan(median));
}

// The filters' median of a window must be the sort's median to the bit:
// ties, infinities, both zeros and NaNs (where the sort's order decides),
// every window length up to past the point where it sorts anyway.
TEST(EstimationMedianOfFew, IsTheSortedMedianBitForBit) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double specials[] = {0.0, -0.0, inf, -inf, nan, 1e308, -5e-324};
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> tie(-4, 4);
    std::uniform_real_distribution<double> noise(9.8, 10.2);
    std::uniform_int_distribution<int> pick(0, 19);
    for (int n = 1; n <= 40; ++n) {
        for (int trial = 0; trial < 300; ++trial) {
            std::vector<double> values(n);
            for (double& v : values) {
                const int p = pick(rng);
                if (trial % 3 == 0 && p < 7) v = specials[p];  // a third of the windows hold them
                else v = p < 13 ? tie(rng) * 0.25 : noise(rng);
            }
            std::vector<double> sorted = values;
            quillon::estimation::sortValues(n, sorted.data());
            const double expected = quillon::estimation::medianOfSorted(sorted.data(), n);
            std::vector<double> work = values;
            const double actual = quillon::estimation::medianOfFew(work.data(), n);
            EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
                << "n " << n << " trial " << trial << ": " << actual << " for " << expected;
        }
    }
}

}  // namespace
