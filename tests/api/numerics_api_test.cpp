// The C++ numerics: contiguous inversions equal to the hosts' row-pointer
// ones bit for bit, their error codes, and generators that share nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "numerics/gasdev.h"
#include "quillon/cpp/numerics.hpp"
#include "quillon/numerics.h"

namespace {

using quillon::Errc;

enum class Method { gauss_jordan, lu, symmetric };

// A row-major matrix through the hosts' routine (on a dMatrix at the
// routine's base) and through the C++ one; both results row-major.
void invertBothWays(Method method, const std::vector<double>& input, int n, std::vector<double>& flat,
                    std::vector<double>& api) {
    const int base = method == Method::lu ? 1 : 0;
    double** m = dMatrix(n + base, n + base);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) m[i + base][k + base] = input[i * n + k];
    api = input;
    switch (method) {
    case Method::gauss_jordan: gaussj(m, n); (void)quillon::invert_gauss_jordan(api.data(), n); break;
    case Method::lu: dInvert(m, n); (void)quillon::invert_lu(api.data(), n); break;
    case Method::symmetric: spdinv(m, n); (void)quillon::invert_symmetric(api.data(), n); break;
    }
    flat.assign(input.size(), 0.0);
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) flat[i * n + k] = m[i + base][k + base];
    freeDMatrix(m, n + base);
}

// Orders 2, 3, 7 and 20 (beyond the stack scratch), well and badly
// conditioned, and a singular one whose partly reduced state must match too.
TEST(NumericsApi, ContiguousInversionsEqualTheFlatOnesBitForBit) {
    std::mt19937 rng(31);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    for (int n : {2, 3, 7, 20}) {
        for (int variant = 0; variant < 3; ++variant) {
            std::vector<double> a(n * n);
            for (double& v : a) v = u(rng);
            for (int i = 0; i < n; ++i)
                for (int k = 0; k < i; ++k) a[i * n + k] = a[k * n + i];
            if (variant == 0)
                for (int i = 0; i < n; ++i) a[i * n + i] += n;
            if (variant == 2)
                for (int k = 0; k < n; ++k) a[(n - 1) * n + k] = a[k] * 3.0;
            for (Method method : {Method::gauss_jordan, Method::lu, Method::symmetric}) {
                std::vector<double> flat, api;
                invertBothWays(method, a, n, flat, api);
                EXPECT_EQ(std::memcmp(flat.data(), api.data(), a.size() * sizeof(double)), 0)
                    << "method " << static_cast<int>(method) << " n " << n << " variant " << variant;
            }
        }
    }
}

TEST(NumericsApi, InversionErrors) {
    const double nan = std::nan("");
    const struct {
        const char* name;
        Method method;
        std::vector<double> a;
        Errc code;
        bool unchanged;
    } cases[] = {
        {"Gauss-Jordan, dependent rows", Method::gauss_jordan, {1, 2, 2, 4}, Errc::singular, false},
        {"Gauss-Jordan, NaN", Method::gauss_jordan, {nan, 1, 1, 5}, Errc::not_finite, false},
        {"Gauss-Jordan, infinite pivot", Method::gauss_jordan, {INFINITY, 1, 1, 5}, Errc::not_finite, false},
        {"LU, all-zero row", Method::lu, {1.25, 2, 0, 0}, Errc::singular, true},
        {"symmetric, dependent rows", Method::symmetric, {1, 1, 1, 1}, Errc::singular, false},
        {"symmetric, tiny but regular", Method::symmetric, {1e-12, 0, 0, 1e-12}, Errc::singular, false},
        {"symmetric, NaN on the diagonal", Method::symmetric, {nan, 1, 1, 3}, Errc::not_finite, false},
    };
    for (const auto& c : cases) {
        std::vector<double> a = c.a;
        const quillon::Status s = c.method == Method::gauss_jordan ? quillon::invert_gauss_jordan(a.data(), 2)
                                  : c.method == Method::lu         ? quillon::invert_lu(a.data(), 2)
                                                                   : quillon::invert_symmetric(a.data(), 2);
        ASSERT_FALSE(s.ok()) << c.name;
        EXPECT_EQ(s.error().code, c.code) << c.name << ": " << s.error().message;
        EXPECT_FALSE(s.error().message.empty()) << c.name;
        if (c.unchanged) {
            EXPECT_EQ(std::memcmp(a.data(), c.a.data(), 4 * sizeof(double)), 0) << c.name;
        }
    }
    // LU replaces a zero pivot instead of failing, and says so.
    std::vector<double> singular = {1, 2, 2, 4};
    bool replaced = false;
    EXPECT_TRUE(quillon::invert_lu(singular.data(), 2, &replaced).ok());
    EXPECT_TRUE(replaced);
    std::vector<double> regular = {1, 2, 3, 4};
    EXPECT_TRUE(quillon::invert_lu(regular.data(), 2, &replaced).ok());
    EXPECT_FALSE(replaced);
}

// The sequence of a seed is the hosts' gasdev sequence of that seed, and a
// positive seed is taken as its negative.
TEST(NumericsApi, GeneratorsGiveTheHostsSequences) {
    quillon::numerics::resetGasdevState();
    int seed = -17;
    quillon::NormalGenerator positive(17);
    for (int i = 0; i < 1000; ++i) {
        const double flat = gasdev(&seed);
        ASSERT_EQ(positive.next(), flat) << "draw " << i;
    }
    quillon::numerics::resetGasdevState();
}

}  // namespace
