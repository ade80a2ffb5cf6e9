// Gauss-Jordan, LU and U-D inversion: hand-checked cases, random matrices
// whose product with the result is the identity, and bad input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "numerics/ud_factor.h"
#include "quillon/numerics.h"

namespace {

using Rows = std::vector<std::vector<double>>;

// A dMatrix(n, n) holding rows at the given base (0 or 1).
class Square {
public:
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

private:
    int n_;
    double** m_;
};

std::string show(const Rows& rows) {
    std::ostringstream out;
    out.precision(17);
    for (const auto& row : rows) {
        out << "(";
        for (size_t k = 0; k < row.size(); ++k) out << (k ? ", " : "") << row[k];
        out << ")";
    }
    return out.str();
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

struct InversionCase {
    const char* name;
    Rows input;
    int result;
    Rows inverse;  // empty when the result is 0
};

TEST(NumericsGaussj, HandCheckedCases) {
    const InversionCase cases[] = {
        {"general 2x2", {{1, 2}, {3, 4}}, 1, {{-2, 1}, {1.5, -0.5}}},
        {"twice the identity", {{2, 0}, {0, 2}}, 1, {{0.5, 0}, {0, 0.5}}},
        {"row exchange", {{0, 1}, {1, 0}}, 1, {{0, 1}, {1, 0}}},
        {"singular", {{1, 2}, {2, 4}}, 0, {}},
        {"zero", {{0, 0}, {0, 0}}, 0, {}},
        {"3x3", {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}}, 1,
         {{5.0 / 18, -1.0 / 9, 1.0 / 18}, {-1.0 / 9, 4.0 / 9, -2.0 / 9}, {1.0 / 18, -2.0 / 9, 11.0 / 18}}},
        {"singular only after rounding", {{1, 1}, {1, 1 + 1e-17}}, 0, {}},
        {"NaN element", {{std::nan(""), 1}, {1, 5}}, 0, {}},
        {"infinite element", {{std::numeric_limits<double>::infinity(), 1}, {1, 5}}, 0, {}},
    };
    for (const auto& c : cases) {
        Square m(c.input, 0);
        EXPECT_EQ(gaussj(m.get(), static_cast<int>(c.input.size())), c.result) << c.name << " " << show(c.input);
        if (c.result == 1) expectRowsNear(c.inverse, m.rows(0), 1e-15, c.name);
    }
}

TEST(NumericsGaussj, EmptyAndNegativeSizesTouchNothing) {
    Square m({{3}}, 0);
    EXPECT_EQ(gaussj(m.get(), 0), 1);
    EXPECT_EQ(gaussj(m.get(), -4), 0);
    EXPECT_EQ(m.get()[0][0], 3.0);
}

TEST(NumericsDInvert, HandCheckedCases) {
    const InversionCase cases[] = {
        {"general 2x2, first pivot row 2", {{1, 2}, {3, 4}}, 1, {{-2, 1}, {1.5, -0.5}}},
        {"singular: second pivot becomes 1e-20", {{1, 2}, {2, 4}}, 1, {{-2e20, 1e20}, {1e20, -5e19}}},
        {"3x3", {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}}, 1,
         {{5.0 / 18, -1.0 / 9, 1.0 / 18}, {-1.0 / 9, 4.0 / 9, -2.0 / 9}, {1.0 / 18, -2.0 / 9, 11.0 / 18}}},
    };
    for (const auto& c : cases) {
        Square m(c.input, 1);
        dInvert(m.get(), static_cast<int>(c.input.size()));
        expectRowsNear(c.inverse, m.rows(1), 1e-14, c.name);
    }
}

TEST(NumericsDInvert, AllZeroRowLeavesTheMatrixBitForBit) {
    const Rows input = {{1.25, 2, 3}, {0, 0, 0}, {7, 8, 9.5}};
    Square m(input, 1);
    dInvert(m.get(), 3);
    const Rows after = m.rows(1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(std::memcmp(after[i].data(), input[i].data(), 3 * sizeof(double)), 0)
            << "row " << i + 1 << ": expected " << show(input) << ", got " << show(after);
}

TEST(NumericsDInvert, NeverTouchesRowZeroOrColumnZero) {
    Square m({{0, 0, 0}, {0, 1, 2}, {0, 3, 4}}, 0);
    double** a = m.get();
    a[0][0] = a[0][1] = a[0][2] = a[1][0] = a[2][0] = -7.0;
    dInvert(a, 2);
    for (double v : {a[0][0], a[0][1], a[0][2], a[1][0], a[2][0]}) EXPECT_EQ(v, -7.0);
    EXPECT_NEAR(a[1][1], -2.0, 1e-14);
    dInvert(a, 0);
    dInvert(a, -3);
    EXPECT_NEAR(a[1][1], -2.0, 1e-14);
}

TEST(NumericsSpdinv, HandCheckedCases) {
    const double nan = std::nan("");
    const InversionCase cases[] = {
        {"lower triangle ignored (2)", {{4, 2}, {2, 3}}, 1, {{0.375, -0.25}, {-0.25, 0.5}}},
        {"lower triangle ignored (99)", {{4, 2}, {99, 3}}, 1, {{0.375, -0.25}, {-0.25, 0.5}}},
        {"lower triangle ignored (NaN)", {{4, 2}, {nan, 3}}, 1, {{0.375, -0.25}, {-0.25, 0.5}}},
        {"3x3", {{4, 1, 0}, {1, 3, 1}, {0, 1, 2}}, 1,
         {{5.0 / 18, -1.0 / 9, 1.0 / 18}, {-1.0 / 9, 4.0 / 9, -2.0 / 9}, {1.0 / 18, -2.0 / 9, 11.0 / 18}}},
        {"indefinite, pivots away from zero", {{1, 2}, {2, 1}}, 1, {{-1.0 / 3, 2.0 / 3}, {2.0 / 3, -1.0 / 3}}},
        {"singular", {{1, 1}, {1, 1}}, 0, {}},
        {"invertible but needs pivoting", {{0, 1}, {1, 0}}, 0, {}},
        {"1x1 below the pivot bound", {{1e-12}}, 0, {}},
        {"1x1", {{2}}, 1, {{0.5}}},
        {"small identity fails the absolute bound", {{1e-12, 0}, {0, 1e-12}}, 0, {}},
        {"NaN above the diagonal", {{4, nan}, {0, 3}}, 0, {}},
        {"NaN on the diagonal", {{nan, 1}, {1, 3}}, 0, {}},
        {"infinite diagonal", {{std::numeric_limits<double>::infinity(), 0}, {0, 3}}, 0, {}},
    };
    for (const auto& c : cases) {
        Square m(c.input, 0);
        EXPECT_EQ(spdinv(m.get(), static_cast<int>(c.input.size())), c.result) << c.name << " " << show(c.input);
        if (c.result == 1) expectRowsNear(c.inverse, m.rows(0), 1e-15, c.name);
    }
    Square m({{5}}, 0);
    EXPECT_EQ(spdinv(m.get(), 0), 1);
    EXPECT_EQ(spdinv(m.get(), -1), 0);
    EXPECT_EQ(m.get()[0][0], 5.0);
}

TEST(NumericsUdFactor, FactorsRebuildTheMatrix) {
    const Rows input = {{4, 1, 0.5}, {1, 3, 1}, {0.5, 1, 2}};
    Square m(input, 0);
    ASSERT_EQ(quillon::numerics::udFactor(m.get(), 3), 1);
    const Rows f = m.rows(0);
    // U unit upper triangular from above the diagonal, D on it, zeros below.
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < i; ++k) EXPECT_EQ(f[i][k], 0.0);
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) {
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

TEST(NumericsInversion, RandomMatricesTimesTheirInverseGiveTheIdentity) {
    std::mt19937 rng(20240501);
    for (int n = 1; n <= 12; ++n) {
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

}  // namespace
