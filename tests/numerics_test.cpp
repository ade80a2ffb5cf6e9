// Numerics through both doors: inversions (hand-checked and random), the
// generators' exact sequences, and the storage and its views.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "numerics/gasdev.h"
#include "numerics/ud_factor.h"
#include "numerics/unidev.h"
#include "quillon/cpp/numerics.hpp"
#include "quillon/numerics.h"

namespace {

using Rows = std::vector<std::vector<double>>;

// A dMatrix(n, n) holding rows at the given base (0 or 1).
struct Square {
    Square(const Rows& rows, int base) : n_(static_cast<int>(rows.size())), m_(dMatrix(n_, n_)) {
        for (int i = 0; i < n_; ++i)
            for (int k = 0; k < n_; ++k) m_[i + base][k + base] = rows[i][k];
    }
    ~Square() { freeDMatrix(m_, n_); }
    Square(const Square&) = delete;
    Square& operator=(const Square&) = delete;
    double** get() const { return m_; }
    Rows rows(int base) const {
        Rows r(n_, std::vector<double>(n_));
        for (int i = 0; i < n_; ++i)
            for (int k = 0; k < n_; ++k) r[i][k] = m_[i + base][k + base];
        return r;
    }
    int n_;
    double** m_;
};

std::string show(const Rows& rows) { return testing::PrintToString(rows); }

std::vector<double> flatten(const Rows& rows) {
    std::vector<double> out;
    for (const auto& r : rows) out.insert(out.end(), r.begin(), r.end());
    return out;
}

// Largest |A B - I| element.
double identityError(const Rows& a, const Rows& b) {
    const size_t n = a.size();
    double worst = 0.0;
    for (size_t i = 0; i < n; ++i)
        for (size_t k = 0; k < n; ++k) {
            double sum = 0.0;
            for (size_t j = 0; j < n; ++j) sum += a[i][j] * b[j][k];
            worst = std::max(worst, std::fabs(sum - (i == k ? 1.0 : 0.0)));
        }
    return worst;
}

void expectRowsNear(const Rows& expected, const Rows& actual, double tolerance, const std::string& what) {
    for (size_t i = 0; i < expected.size(); ++i)
        for (size_t k = 0; k < expected.size(); ++k)
            EXPECT_NEAR(actual[i][k], expected[i][k], tolerance * std::max(1.0, std::fabs(expected[i][k])))
                << what << ": expected " << show(expected) << ", got " << show(actual);
}

using quillon::Errc;
enum Method { G, L, S };  // gaussj, dInvert (1-based), spdinv

// The 3x3 case and its inverse, shared by the three methods.
const Rows k3 = {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}};
const Rows k3Inverse = {{5.0 / 18, -1.0 / 9, 1.0 / 18}, {-1.0 / 9, 4.0 / 9, -2.0 / 9}, {1.0 / 18, -2.0 / 9, 11.0 / 18}};

// Each matrix through the hosts' routine and through the API's, which says
// why it refuses; a failed LU inversion changes nothing, the others' hand the
// hosts the API's partly reduced state, and LU says when it replaced a pivot.
TEST(Numerics, HandCheckedInversions) {
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    constexpr Errc ok{}, singular = Errc::singular, nonFinite = Errc::not_finite;
    const struct {
        Method method;
        const char* name;
        Rows input;
        Errc code;     // dInvert reports nothing
        Rows inverse;  // empty when refused
    } rows[] = {
        {G, "general 2x2", {{1, 2}, {3, 4}}, ok, {{-2, 1}, {1.5, -0.5}}},
        {G, "row exchange", {{0, 1}, {1, 0}}, ok, {{0, 1}, {1, 0}}}, {G, "singular", {{1, 2}, {2, 4}}, singular, {}},
        {G, "zero", {{0, 0}, {0, 0}}, singular, {}}, {G, "3x3", k3, ok, k3Inverse},
        {G, "singular only after rounding", {{1, 1}, {1, 1 + 1e-17}}, singular, {}},
        {G, "NaN element", {{nan, 1}, {1, 5}}, nonFinite, {}},
        {G, "infinite element", {{inf, 1}, {1, 5}}, nonFinite, {}},
        {G, "inverse beyond the doubles", {{1, 0}, {0, 1e-309}}, nonFinite, {}},
        {G, "first element beyond the doubles", {{1e-309, 0}, {0, 1}}, nonFinite, {}},
        {L, "general 2x2, first pivot row 2", {{1, 2}, {3, 4}}, ok, {{-2, 1}, {1.5, -0.5}}},
        {L, "singular: second pivot becomes 1e-20", {{1, 2}, {2, 4}}, ok, {{-2e20, 1e20}, {1e20, -5e19}}},
        {L, "3x3", k3, ok, k3Inverse}, {L, "all-zero row", {{1.25, 2}, {0, 0}}, singular, {}},
        {S, "lower triangle ignored (NaN)", {{4, 2}, {nan, 3}}, ok, {{0.375, -0.25}, {-0.25, 0.5}}},
        {S, "3x3", k3, ok, k3Inverse},
        {S, "indefinite, pivots away from zero", {{1, 2}, {2, 1}}, ok, {{-1.0 / 3, 2.0 / 3}, {2.0 / 3, -1.0 / 3}}},
        {S, "singular", {{1, 1}, {1, 1}}, singular, {}},
        {S, "invertible but needs pivoting", {{0, 1}, {1, 0}}, singular, {}},
        {S, "1x1 below the pivot bound", {{1e-12}}, singular, {}}, {S, "1x1", {{2}}, ok, {{0.5}}},
        {S, "small identity fails the absolute bound", {{1e-12, 0}, {0, 1e-12}}, singular, {}},
        {S, "NaN above the diagonal", {{4, nan}, {0, 3}}, nonFinite, {}},
        {S, "NaN on the diagonal", {{nan, 1}, {1, 3}}, nonFinite, {}},
        {S, "infinite diagonal", {{inf, 0}, {0, 3}}, nonFinite, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const int n = static_cast<int>(row.input.size()), base = row.method == L ? 1 : 0;
        Square m(row.input, base);
        if (row.method == L) dInvert(m.get(), n);
        else EXPECT_EQ((row.method == G ? gaussj : spdinv)(m.get(), n), row.code == ok) << show(row.input);
        if (row.code == ok) expectRowsNear(row.inverse, m.rows(base), row.method == L ? 1e-14 : 1e-15, row.name);
        std::vector<double> a = flatten(row.input);
        bool replaced = false;
        const quillon::Status s = row.method == G   ? quillon::invert_gauss_jordan(a.data(), std::size_t(n))
                                  : row.method == L ? quillon::invert_lu(a.data(), std::size_t(n), &replaced)
                                                    : quillon::invert_symmetric(a.data(), std::size_t(n));
        EXPECT_EQ(s ? ok : s.error().code, row.code);
        EXPECT_TRUE(s || !s.error().message.empty());
        EXPECT_EQ(replaced, std::strstr(row.name, "pivot becomes") != nullptr);
        if (!s && (row.method == L || row.code == singular)) {
            EXPECT_EQ(a, flatten(row.method == L ? row.input : m.rows(0)));
        }
    }
    // Empty and negative sizes touch nothing.
    Square one({{3}}, 0);
    for (auto invert : {gaussj, spdinv}) {
        EXPECT_EQ(invert(one.get(), 0), 1);
        EXPECT_EQ(invert(one.get(), -4), 0);
    }
    EXPECT_EQ(one.get()[0][0], 3.0);
}

TEST(Numerics, DInvertLeavesAnAllZeroRowsMatrixAndRowAndColumnZeroAlone) {
    const Rows input = {{1.25, 2, 3}, {0, 0, 0}, {7, 8, 9.5}};
    Square m(input, 1);
    dInvert(m.get(), 3);
    EXPECT_EQ(std::memcmp(flatten(m.rows(1)).data(), flatten(input).data(), 9 * sizeof(double)), 0);
    Square z({{-7, -7, -7}, {-7, 1, 2}, {-7, 3, 4}}, 0);
    double** a = z.get();
    dInvert(a, 2);
    for (double v : {a[0][0], a[0][1], a[0][2], a[1][0], a[2][0]}) EXPECT_EQ(v, -7.0);
    EXPECT_NEAR(a[1][1], -2.0, 1e-14);
    dInvert(a, 0);
    dInvert(a, -3);
    EXPECT_NEAR(a[1][1], -2.0, 1e-14);
}

TEST(NumericsUdFactor, FactorsRebuildTheMatrix) {
    const Rows input = {{4, 1, 0.5}, {1, 3, 1}, {0.5, 1, 2}};
    Square m(input, 0);
    ASSERT_EQ(quillon::numerics::udFactor(m.get(), 3), 1);
    const Rows f = m.rows(0);
    // U unit upper triangular from above the diagonal, D on it, zeros below.
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) {
            EXPECT_TRUE(k >= i || f[i][k] == 0.0) << "element " << i << ", " << k;
            double sum = 0.0;
            for (int j = 0; j < 3; ++j) {
                const double uij = j == i ? 1.0 : (j > i ? f[i][j] : 0.0);
                const double ukj = j == k ? 1.0 : (j > k ? f[k][j] : 0.0);
                sum += uij * f[j][j] * ukj;
            }
            EXPECT_NEAR(sum, input[i][k], 1e-15) << "element " << i << ", " << k;
        }
    Square zero({{1, 0}, {0, 0}}, 0);
    EXPECT_EQ(quillon::numerics::udFactor(zero.get(), 2), 0);
    EXPECT_EQ(quillon::numerics::udInvert(zero.get(), 2), 0);
}

// Diagonally dominant (general) or B B' + I (symmetric): well conditioned.
Rows randomMatrix(std::mt19937& rng, int n, bool symmetric) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Rows a(n, std::vector<double>(n));
    for (auto& row : a)
        for (double& v : row) v = u(rng);
    if (symmetric) {
        Rows s(n, std::vector<double>(n, 0.0));
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < n; ++k) {
                for (int j = 0; j < n; ++j) s[i][k] += a[i][j] * a[k][j];
                if (i == k) s[i][k] += 1.0;
            }
        return s;
    }
    for (int i = 0; i < n; ++i) a[i][i] += (a[i][i] < 0 ? -1.0 : 1.0) * n;
    return a;
}

// Orders up to 12, and 17 and 22 beyond the stack scratch.
TEST(NumericsInversion, RandomMatricesTimesTheirInverseGiveTheIdentity) {
    std::mt19937 rng(20240501);
    for (int n = 1; n <= 22; n += n < 12 ? 1 : 5) {
        for (int trial = 0; trial < 20; ++trial) {
            const Rows general = randomMatrix(rng, n, false);
            const Rows symmetric = randomMatrix(rng, n, true);
            Square g(general, 0);
            ASSERT_EQ(gaussj(g.get(), n), 1) << show(general);
            EXPECT_LT(identityError(general, g.rows(0)), 1e-10) << "gaussj " << show(general);
            Square l(general, 1);
            dInvert(l.get(), n);
            EXPECT_LT(identityError(general, l.rows(1)), 1e-10) << "dInvert " << show(general);
            Square s(symmetric, 0);
            ASSERT_EQ(spdinv(s.get(), n), 1) << show(symmetric);
            const Rows inverse = s.rows(0);
            EXPECT_LT(identityError(symmetric, inverse), 1e-10) << "spdinv " << show(symmetric);
            for (int i = 0; i < n; ++i)
                for (int k = 0; k < i; ++k) EXPECT_EQ(inverse[i][k], inverse[k][i]) << "spdinv symmetry";
        }
    }
}

std::uint64_t fingerprint(std::uint64_t hash, const std::vector<double>& values) {
    for (double v : values) {
        if (std::isnan(v)) v = std::numeric_limits<double>::quiet_NaN();  // its sign varies with the optimiser
        unsigned char bytes[sizeof v];
        std::memcpy(bytes, &v, sizeof v);
        for (unsigned char b : bytes) hash = (hash ^ b) * 1099511628211u;
    }
    return hash;
}

// The inverses are pinned bit for bit, and where they hold NaN, by a
// fingerprint over general matrices (every pivot order), some with elements
// that overflow and some with infinities and NaN.
TEST(NumericsInversion, InversesKeepEveryBit) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    const double specials[] = {0.0, -0.0, 1e300, -1e300, inf, -inf, nan, -nan};
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    std::uint64_t lu = 14695981039346656037u, gj = lu;
    for (int trial = 0; trial < 3000; ++trial) {
        const std::size_t n = 1 + std::size_t(trial % 13);
        const unsigned kinds = trial % 3 == 0 ? 0 : trial % 3 == 1 ? 4 : 8;
        std::vector<double> a(n * n);
        for (double& v : a) v = kinds != 0 && rng() % 6 == 0 ? specials[rng() % kinds] : u(rng);
        std::vector<double> g = a;
        if (quillon::invert_lu(a.data(), n)) lu = fingerprint(lu, a);
        if (quillon::invert_gauss_jordan(g.data(), n)) gj = fingerprint(gj, g);
    }
    EXPECT_EQ(lu, 7247668520179570560u);
    EXPECT_EQ(gj, 13577005598445306720u);
}

using quillon::numerics::resetGasdevState;
using quillon::numerics::unidev;

class NumericsRandom : public ::testing::Test {
protected:
    void SetUp() override { resetGasdevState(); }
    void TearDown() override { resetGasdevState(); }
};

// The API's sequence of a seed is the hosts' gasdev sequence of that seed,
// and a positive seed is taken as its negative.
TEST_F(NumericsRandom, ApiGeneratorGivesTheHostsSequence) {
    int seed = -17;
    quillon::NormalGenerator positive(17);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(gasdev(&seed), positive.next()) << "draw " << i;
}

TEST_F(NumericsRandom, UniformSequenceForSeedMinusOneIsExact) {
    const float expected[] = {0.3900425136089325f, 0.171148419380188f, 0.6423839330673218f, 0.8688522577285767f,
                              0.17056703567504883f};
    int seed = -1;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(unidev(&seed), expected[i]) << "draw " << i;
    EXPECT_EQ(seed, 1);
    int outside = 0;  // every slot of the shuffle table is handed out, none as 0
    for (int i = 0; i < 100000; ++i) {
        const float u = unidev(&seed);
        outside += !(u > 0.0f && u <= 1.0f);
    }
    EXPECT_EQ(outside, 0);
}

// The call that returns the saved deviate leaves a negative seed alone; the
// reseed takes effect on the call after, and the sequence starts over.
TEST_F(NumericsRandom, NormalSequenceForSeedMinusOneAndTheSavedDeviate) {
    const double expected[] = {-1.14752730730, -0.383696554044, 0.904026696382, 0.348971367076};
    int seed = -1;
    const double first = gasdev(&seed);
    EXPECT_NEAR(first, expected[0], 5e-12);
    seed = -1;
    EXPECT_NEAR(gasdev(&seed), expected[1], 5e-12);
    EXPECT_EQ(seed, -1);
    EXPECT_EQ(gasdev(&seed), first);
    for (int i = 1; i < 4; ++i) EXPECT_NEAR(gasdev(&seed), expected[i], 5e-12) << "draw " << i;
    EXPECT_EQ(seed, 1);
}

TEST_F(NumericsRandom, FirstCallSeedsEvenFromAPositiveSeed) {
    int seed = 12345;
    const float u = unidev(&seed);
    EXPECT_EQ(seed, 1);
    EXPECT_TRUE(u >= 0.0f && u <= 1.0f) << u;
    seed = 7;
    EXPECT_GE(unidev(&seed), 0.0f);
    EXPECT_EQ(seed, 7) << "a positive seed after the first call continues the sequence";
}

TEST_F(NumericsRandom, OutOfRangeSeedsEndEveryCall) {
    for (int bad : {54774, 100000, 2147483647}) {
        resetGasdevState();
        int seed = bad;
        // NaN is allowed: only a value of 40 or more fails.
        for (int i = 0; i < 4; ++i) EXPECT_FALSE(std::fabs(gasdev(&seed)) >= 40.0) << "seed " << bad << " draw " << i;
        resetGasdevState();
        seed = bad;
        for (int i = 0; i < 1000; ++i) EXPECT_LE(std::fabs(unidev(&seed)), 1.0f) << "seed " << bad;
    }
}

// Vectors hold n + 1 elements, a row count of -1 gives an empty row array,
// and releasing null is harmless.
TEST(NumericsStorage, VectorsAndRowArraysHoldOneElementMore) {
    float* f = fvector(0);
    double* d = dVector(5);
    int* v = iVector(3);
    float** m = matrix(-1, 5);
    int** im = iMatrix(2, 3);
    ASSERT_TRUE(f && d && v && m && im);
    f[0] = 1.5f;
    d[5] = 5.0;
    v[3] = 7;
    im[2][3] = 4;
    EXPECT_EQ(f[0] + d[5] + v[3] + im[2][3], 17.5);
    freeVector(f);
    freeDVector(d);
    freeIVector(v);
    freeMatrix(m, -1);
    freeIMatrix(im, 2);
    freeVector(nullptr);
    freeIVector(nullptr);
    freeDVector(nullptr);
    freeDMatrix(nullptr, 3);
    freeSubMatrix(nullptr, 1);
    freeConvertMatrix(nullptr, 1);
}

TEST(NumericsStorage, DMatrixZeroesOnlyTheZeroBasedBlock) {
    double** m = dMatrix(3, 2);
    ASSERT_NE(m, nullptr);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 2; ++k) EXPECT_EQ(m[i][k], 0.0) << "row " << i << " column " << k;
    // Row 3 and column 2 exist (the sanitizers would object otherwise).
    m[3][2] = 9.0;
    m[0][2] = 8.0;
    EXPECT_EQ(m[3][2], 9.0);
    freeDMatrix(m, 3);

    for (auto [nr, nc] : {std::pair{0, 4}, std::pair{4, 0}}) {
        double** e = dMatrix(nr, nc);
        ASSERT_NE(e, nullptr) << nr << " by " << nc;
        e[nr][nc] = 1.0;
        freeDMatrix(e, nr);
    }
}

TEST(NumericsStorage, ImpossibleSizesGiveNullWithoutLeaks) {
#if defined(__SANITIZE_ADDRESS__)
    // Sizes beyond the address width reach the allocator, which AddressSanitizer
    // reports as a fault unless told to return null like the real allocators.
    const char* options = std::getenv("ASAN_OPTIONS");
    if (options == nullptr || std::strstr(options, "allocator_may_return_null=1") == nullptr)
        GTEST_SKIP() << "run with ASAN_OPTIONS=allocator_may_return_null=1 under AddressSanitizer";
#endif
    // In the last two the row array succeeds, the first row fails: the array is given back.
    const void* const refused[] = {fvector(-2),    iVector(INT_MIN), dVector(-1000),
                                   matrix(-3, 2), dMatrix(4, -2),   iMatrix(0, INT_MIN)};
    for (const void* const& p : refused) EXPECT_EQ(p, nullptr) << "call " << &p - refused;
    float** source = matrix(2, 2);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(subMatrix(source, 5, 2, 0, 0, 0), nullptr);
    freeMatrix(source, 2);
    float block[4] = {};
    EXPECT_EQ(convertMatrix(block, 3, 0, 0, 1), nullptr);
}

TEST(NumericsStorage, SubMatrixViewSharesTheSourceElements) {
    float** source = matrix(5, 5);
    ASSERT_NE(source, nullptr);
    for (int i = 0; i <= 5; ++i)
        for (int k = 0; k <= 5; ++k) source[i][k] = static_cast<float>(10 * i + k);
    float** view = subMatrix(source, 2, 4, 3, 1, 1);
    ASSERT_NE(view, nullptr);
    for (int r = 1; r <= 3; ++r) EXPECT_EQ(&view[r][1], &source[r + 1][3]) << "row " << r << " is the source's";
    freeSubMatrix(view, 1);
    EXPECT_EQ(source[5][5], 55.0f) << "releasing a view leaves the source intact";
    freeMatrix(source, 5);
}

TEST(NumericsStorage, ConvertedMatrixAddressesTheBlockRowByRow) {
    float block[6] = {0, 1, 2, 3, 4, 5};
    float** view = convertMatrix(block, 1, 2, 1, 3);
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(&view[1 + i / 3][1 + i % 3], &block[i]) << i;
    view[2][2] = 40.0f;
    EXPECT_EQ(block[4], 40.0f);
    freeConvertMatrix(view, 1);
    EXPECT_EQ(block[5], 5.0f);
}

}  // namespace
