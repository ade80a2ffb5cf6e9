// Inversion by Crout LU decomposition with implicit (row-scaled) partial
// pivoting, then one solve per column of the identity.
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

// True when a zero pivot was replaced.
bool decompose(Square a, double* scale, std::size_t* pivots) {
    const std::size_t n = a.n;
    bool replaced = false;
    for (std::size_t j = 0; j < n; ++j) {
        // The products are written column factor first: equal either way,
        // but GCC then keeps the operand order of the row-pointer form, so
        // even a NaN result keeps the sign bit dInvert has always given it.
        for (std::size_t i = 0; i < j; ++i) {
            double sum = a(i, j);
            for (std::size_t k = 0; k < i; ++k) sum -= a(k, j) * a(i, k);
            a(i, j) = sum;
        }
        double big = 0.0;
        // Stays on the diagonal when every figure of merit is NaN.
        std::size_t imax = j;
        for (std::size_t i = j; i < n; ++i) {
            double sum = a(i, j);
            for (std::size_t k = 0; k < j; ++k) sum -= a(k, j) * a(i, k);
            a(i, j) = sum;
            const double merit = scale[i] * std::fabs(sum);
            if (merit >= big) {
                big = merit;
                imax = i;
            }
        }
        if (j != imax) {
            for (std::size_t k = 0; k < n; ++k) std::swap(a(imax, k), a(j, k));
            scale[imax] = scale[j];
        }
        pivots[j] = imax;
        if (a(j, j) == 0.0) {
            a(j, j) = kTinyPivot;
            replaced = true;
        }
        if (j + 1 != n) {
            const double factor = 1.0 / a(j, j);
            for (std::size_t i = j + 1; i < n; ++i) a(i, j) *= factor;
        }
    }
    return replaced;
}

// Solves LU x = b in place of b, with the recorded row exchanges. The
// forward sums start at the first non-zero element of b, so the zeros above
// it in a column of the identity cost nothing.
void substitute(Square a, const std::size_t* pivots, double* b) {
    const std::size_t n = a.n;
    bool started = false;
    std::size_t first = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t p = pivots[i];
        double sum = b[p];
        b[p] = b[i];
        if (started) {
            for (std::size_t k = first; k < i; ++k) sum -= a(i, k) * b[k];
        } else if (sum != 0.0) {
            started = true;
            first = i;
        }
        b[i] = sum;
    }
    for (std::size_t i = n; i-- > 0;) {
        double sum = b[i];
        for (std::size_t k = i + 1; k < n; ++k) sum -= a(i, k) * b[k];
        b[i] = sum / a(i, i);
    }
}

}  // namespace

Status invert_lu(double* a, std::size_t n, bool* pivot_replaced) noexcept {
    if (pivot_replaced != nullptr) *pivot_replaced = false;
    if (n == 0) return {};
    Scratch<double, kOrderOnStack> scale(n);
    Scratch<double, kOrderOnStack> column(n);
    Scratch<std::size_t, kOrderOnStack> pivots(n);
    // The factors are read until the last column is solved, so the inverse
    // builds up beside them.
    const std::size_t largest = static_cast<std::size_t>(PTRDIFF_MAX);
    Scratch<double, kOrderOnStack * kOrderOnStack> result(n <= largest / n ? n * n : largest);
    if (scale.get() == nullptr || column.get() == nullptr || pivots.get() == nullptr || result.get() == nullptr)
        return make_error(Errc::no_memory, "LU inversion: no memory for the scratch");
    const Square m{a, n};
    if (!scaleRows(m, scale.get()))
        return make_error(Errc::singular, "LU inversion: the matrix is singular (a row is all zero)");
    const bool replaced = decompose(m, scale.get(), pivots.get());
    double* const b = column.get();
    double* const inverse = result.get();
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t i = 0; i < n; ++i) b[i] = 0.0;
        b[j] = 1.0;
        substitute(m, pivots.get(), b);
        for (std::size_t i = 0; i < n; ++i) inverse[i * n + j] = b[i];
    }
    for (std::size_t i = 0; i < n * n; ++i) a[i] = inverse[i];
    if (pivot_replaced != nullptr) *pivot_replaced = replaced;
    return {};
}

}  // namespace quillon
