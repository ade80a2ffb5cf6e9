// The least-absolute-deviation line: stated cases, bad input, and how close
// the bisection gets to the true optimum on random data with outliers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <vector>

#include "estimation/slope_cost.h"
#include "quillon/estimation.h"

namespace {

struct Fit {
    double a = -123.0, b = -123.0, dev = -123.0;
};

Fit fitLine(std::vector<double> x, std::vector<double> y) {
    const std::vector<double> x0 = x, y0 = y;
    Fit f;
    centTendFit(x.data(), y.data(), static_cast<int>(x.size()), &f.a, &f.b, &f.dev);
    EXPECT_EQ(std::memcmp(x.data(), x0.data(), x.size() * sizeof(double)), 0) << "the abscissae are not changed";
    EXPECT_EQ(std::memcmp(y.data(), y0.data(), y.size() * sizeof(double)), 0) << "the ordinates are not changed";
    return f;
}

TEST(EstimationCentTendFit, StatedCases) {
    const struct {
        const char* name;
        std::vector<double> x, y;
        double a, b, dev, tolerance;
    } cases[] = {
        {"exact line", {0, 1, 2, 3, 4}, {2, 5, 8, 11, 14}, 2, 3, 0, 1e-12},
        {"two points", {1, 3}, {2, 7}, -0.5, 2.5, 0, 1e-12},
        {"one wild point", {0, 1, 2, 3, 4}, {0, 1, 2, 3, 100}, 0, 1, 19.2, 0.1},
        {"equal abscissae: mean abscissa, slope 0", {2, 2, 2}, {1, 5, 9}, 2, 0, 0, 0},
        {"one point", {4}, {9}, 4, 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Fit f = fitLine(c.x, c.y);
        EXPECT_NEAR(f.a, c.a, c.tolerance) << c.name;
        EXPECT_NEAR(f.b, c.b, c.tolerance) << c.name;
        EXPECT_NEAR(f.dev, c.dev, c.tolerance) << c.name;
    }
}

TEST(EstimationCentTendFit, NoPointsGiveNaNInterceptBesideSlopeZero) {
    for (int n : {0, -5}) {
        double x = 1, y = 1;
        Fit f;
        centTendFit(&x, &y, n, &f.a, &f.b, &f.dev);
        EXPECT_TRUE(std::isnan(f.a)) << "n " << n << " a " << f.a;
        EXPECT_EQ(f.b, 0.0) << "n " << n;
        EXPECT_EQ(f.dev, 0.0) << "n " << n;
    }
}

TEST(EstimationCentTendFit, UnusableInputEndsWithNaN) {
    const double nan = std::nan(""), inf = INFINITY;
    // Three ulps above 1e8 and 1e8 itself: rounding makes the spread of the
    // abscissae negative, the slope's deviation NaN, and the bracket could
    // never close.
    const double up = 1e8 + 3 * 1.4901161193847656e-08;
    const std::vector<double> close = {up, 1e8, up, up, 1e8};
    double sx = 0, sxx = 0;
    for (double v : close) {
        sx += v;
        sxx += v * v;
    }
    ASSERT_LT(5.0 * sxx - sx * sx, -1e-8) << "the set no longer shows the rounding it is meant to show";
    const struct {
        const char* name;
        std::vector<double> x, y;
    } cases[] = {
        {"NaN ordinate", {0, 1, 2, 3}, {0, nan, 2, 3}},
        {"NaN abscissa", {0, nan, 2, 3}, {0, 1, 2, 3}},
        {"infinite ordinate", {0, 1, 2, 3}, {0, 1, inf, 3}},
        {"NaN ordinate at equal abscissae", {2, 2, 2}, {1, nan, 3}},
        {"abscissae too close to resolve", close, {1, 2, 3, 4, 5}},
        {"squares overflow", {0, 1, 2, 3}, {1e200, -1e200, 1e200, 0}},
    };
    for (const auto& c : cases) {
        const Fit f = fitLine(c.x, c.y);
        EXPECT_TRUE(std::isnan(f.a) && std::isnan(f.b) && std::isnan(f.dev))
            << c.name << ": a " << f.a << " b " << f.b << " dev " << f.dev;
    }
}

TEST(EstimationSlopeCost, ZeroResidualCountsAsBelowTheLine) {
    std::vector<double> x = {1, 2, 3}, y = {1, 2, 3};
    auto& fit = quillon::estimation::fitRecord();
    fit.count = 3;
    fit.x = x.data();
    fit.y = y.data();
    // Slope 1: every residual is zero, so every abscissa is subtracted.
    EXPECT_EQ(quillon::estimation::slopeCost(1.0), -6.0);
    EXPECT_EQ(fit.intercept, 0.0);
    EXPECT_EQ(fit.absDevSum, 0.0);
    // Slope 0: residuals 1 - 2, 0, 3 - 2 around the median 2.
    EXPECT_EQ(quillon::estimation::slopeCost(0.0), 3.0 - 1.0 - 2.0);
    EXPECT_EQ(fit.intercept, 2.0);
    EXPECT_EQ(fit.absDevSum, 2.0);
}

// Smallest sum of absolute deviations over lines through two of the points
// (an optimal line always passes through two of them when the abscissae
// differ).
double bruteForceOptimum(const std::vector<double>& x, const std::vector<double>& y) {
    const size_t n = x.size();
    double best = INFINITY;
    for (size_t i = 0; i < n; ++i)
        for (size_t k = i + 1; k < n; ++k) {
            if (x[i] == x[k]) continue;
            const double b = (y[k] - y[i]) / (x[k] - x[i]);
            const double a = y[i] - b * x[i];
            double sum = 0.0;
            for (size_t j = 0; j < n; ++j) sum += std::fabs(y[j] - a - b * x[j]);
            best = std::min(best, sum);
        }
    return best;
}

// The bisection treats a zero residual as negative and can settle on the
// wrong side of a flat stretch, so it is not always optimal: this pins how
// often and how far it falls short on random sets with outliers, so that a
// change of the algorithm shows.
TEST(EstimationCentTendFit, StaysCloseToTheBruteForceOptimumOnRandomSets) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<double> ux(0.0, 100.0), slope(-3.0, 3.0), noise(-1.0, 1.0), wild(-200.0, 200.0);
    std::uniform_int_distribution<int> size(5, 40);
    constexpr int kSets = 2000;
    int beyondTenthPercent = 0, beyondOnePercent = 0, beyondTenPercent = 0;
    double worst = 0.0, total = 0.0;
    for (int set = 0; set < kSets; ++set) {
        const int n = size(rng);
        const double a0 = noise(rng) * 50.0, b0 = slope(rng);
        std::vector<double> x(n), y(n);
        for (int j = 0; j < n; ++j) {
            x[j] = ux(rng);
            y[j] = a0 + b0 * x[j] + noise(rng);
            if (j % 5 == 0) y[j] += wild(rng);  // one point in five is an outlier
        }
        const Fit f = fitLine(x, y);
        const double optimum = bruteForceOptimum(x, y) / n;
        ASSERT_TRUE(std::isfinite(f.dev)) << "set " << set;
        ASSERT_GE(f.dev, optimum * (1 - 1e-12)) << "set " << set << ": no line beats the optimum";
        const double excess = (f.dev - optimum) / optimum;
        beyondTenthPercent += excess > 0.001;
        beyondOnePercent += excess > 0.01;
        beyondTenPercent += excess > 0.1;
        worst = std::max(worst, excess);
        total += excess;
    }
    std::ostringstream summary;
    summary << "of " << kSets << " sets, mean absolute deviation above the optimum by more than 0.1%: "
            << beyondTenthPercent << ", 1%: " << beyondOnePercent << ", 10%: " << beyondTenPercent
            << "; worst " << worst * 100 << "%, mean " << total / kSets * 100 << "%";
    RecordProperty("shortfall", summary.str());
    // Measured with this seed: 225, 54 and 27 sets, worst 394%.
    EXPECT_LE(beyondOnePercent, kSets / 20) << summary.str();
    EXPECT_LE(beyondTenPercent, kSets / 40) << summary.str();
    EXPECT_LT(worst, 10.0) << summary.str();
}

}  // namespace
