// Inversion by Crout LU decomposition with implicit (row-scaled) partial
// pivoting, then a solve for each column of the identity. Every element is
// computed by the same operations in the same order as in the textbook
// loops, so the inverse is the same bit for bit; only the schedule differs.
// (Where the result holds NaN, its sign is not pinned: it depends on which
// operand the compiler puts first in a product, even between -O levels.)
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "numerics/scratch.h"
#include "quillon/cpp/numerics.hpp"

namespace quillon {

namespace {

using numerics::kOrderOnStack;
using numerics::Scratch;

constexpr double kTinyPivot = 1e-20;

// Row-major n * n storage addressed as (row, column).
struct Square {
    double* a;
    std::size_t n;
    double& operator()(std::size_t i, std::size_t k) const { return a[i * n + k]; }
};

// 1 / largest magnitude of each row; false for a row with no non-zero element.
bool scaleRows(Square a, double* scale) {
    for (std::size_t i = 0; i < a.n; ++i) {
        double big = 0.0;
        for (std::size_t j = 0; j < a.n; ++j) {
            const double magnitude = std::fabs(a(i, j));
            if (magnitude > big) big = magnitude;
        }
        if (big == 0.0) return false;
        scale[i] = 1.0 / big;
    }
    return true;
}

// True when a zero pivot was replaced. Crout's operations in a different
// schedule: each element still has its products subtracted one at a time in
// increasing k, but each is subtracted as soon as both its factors are final,
// a row at a time, rather than as a dot product down a column when the
// element's turn comes; the rows' sums then run side by side. The pivot
// search sees each column exactly as Crout's order leaves it.
bool decompose(Square a, double* scale, std::size_t* pivots) {
    const std::size_t n = a.n;
    bool replaced = false;
    for (std::size_t j = 0; j < n; ++j) {
        double big = 0.0;
        // Stays on the diagonal when every figure of merit is NaN.
        std::size_t imax = j;
        for (std::size_t i = j; i < n; ++i) {
            const double merit = scale[i] * std::fabs(a(i, j));
            if (merit >= big) {
                big = merit;
                imax = i;
            }
        }
        if (j != imax) {
            std::swap_ranges(&a(imax, 0), &a(imax, 0) + n, &a(j, 0));
            scale[imax] = scale[j];
        }
        pivots[j] = imax;
        if (a(j, j) == 0.0) {
            a(j, j) = kTinyPivot;
            replaced = true;
        }
        if (j + 1 == n) break;
        const double factor = 1.0 / a(j, j);
        const double* const upper = &a(j, 0);
        for (std::size_t i = j + 1; i < n; ++i) {
            double* const row = &a(i, 0);
            row[j] *= factor;
            const double lower = row[j];
            for (std::size_t c = j + 1; c < n; ++c) row[c] -= upper[c] * lower;
        }
    }
    return replaced;
}

// The solutions for the columns of the identity, all at once and row by
// row, so that the columns' sums run side by side instead of one dependent
// chain after another; every element still sees the operations of a solve of
// its own column, in the same order.
//
// The row exchanges move column j's 1 to some row t, where its forward sums
// start: rows above t stay +0, row t is 1, and each row below subtracts its
// products from +0 in increasing order from column t on. That is column t of
// L's inverse, whatever j is, so the forward pass computes L's inverse
// (lower triangular, no product of a zero above the start) and column_of[t]
// records which column j it belongs to. The back substitution subtracts every
// product, zeros included, as the one-column solve does.
void solveIdentity(Square a, const std::size_t* pivots, double* x, std::size_t* column_of) {
    const std::size_t n = a.n;
    for (std::size_t t = 0; t < n; ++t) column_of[t] = t;
    for (std::size_t i = 0; i < n; ++i) std::swap(column_of[i], column_of[pivots[i]]);
    for (std::size_t i = 0; i < n * n; ++i) x[i] = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        double* const row = x + i * n;
        row[i] = 1.0;
        for (std::size_t k = 0; k < i; ++k) {
            const double factor = a(i, k);
            const double* const done = x + k * n;
            for (std::size_t c = 0; c <= k; ++c) row[c] -= done[c] * factor;
        }
    }
    for (std::size_t i = n; i-- > 0;) {
        double* const row = x + i * n;
        for (std::size_t k = i + 1; k < n; ++k) {
            const double factor = a(i, k);
            const double* const done = x + k * n;
            for (std::size_t c = 0; c < n; ++c) row[c] -= done[c] * factor;
        }
        const double pivot = a(i, i);
        for (std::size_t c = 0; c < n; ++c) row[c] /= pivot;
    }
}

}  // namespace

Status invert_lu(double* a, std::size_t n, bool* pivot_replaced) noexcept {
    if (pivot_replaced != nullptr) *pivot_replaced = false;
    if (n == 0) return {};
    Scratch<double, kOrderOnStack> scale(n);
    Scratch<std::size_t, kOrderOnStack> column_of(n);
    Scratch<std::size_t, kOrderOnStack> pivots(n);
    // The factors are read until the last column is solved, so the inverse
    // builds up beside them.
    const std::size_t largest = static_cast<std::size_t>(PTRDIFF_MAX);
    Scratch<double, kOrderOnStack * kOrderOnStack> result(n <= largest / n ? n * n : largest);
    if (scale.get() == nullptr || column_of.get() == nullptr || pivots.get() == nullptr || result.get() == nullptr)
        return make_error(Errc::no_memory, "LU inversion: no memory for the scratch");
    const Square m{a, n};
    if (!scaleRows(m, scale.get()))
        return make_error(Errc::singular, "LU inversion: the matrix is singular (a row is all zero)");
    const bool replaced = decompose(m, scale.get(), pivots.get());
    double* const inverse = result.get();
    solveIdentity(m, pivots.get(), inverse, column_of.get());
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t t = 0; t < n; ++t) a[i * n + column_of.get()[t]] = inverse[i * n + t];
    if (pivot_replaced != nullptr) *pivot_replaced = replaced;
    return {};
}

}  // namespace quillon
