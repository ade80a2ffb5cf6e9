// The two halves of the symmetric inversion, in place on rows and columns
// 0..n-1 of a matrix reached as a[i][j]: a row-pointer matrix (double**) or
// row-major storage (RowMajor). Both layouts run the same instructions in
// the same order, so both give the same numbers bit for bit. The order of
// every update is fixed: later steps read values the earlier ones
// overwrote in place.
//
// A pivot fails when its magnitude is below 1e-11 (an absolute bound, not one
// relative to the matrix) or when it is not a finite number: a NaN or an
// infinity in the upper triangle always reaches a pivot, so non-finite input
// fails instead of yielding a NaN "inverse". The failing pivot is left on the
// diagonal. n of 0 or less touches nothing.
#ifndef QUILLON_NUMERICS_UD_FACTOR_H
#define QUILLON_NUMERICS_UD_FACTOR_H

#include <cmath>
#include <cstddef>
#include <limits>

namespace quillon::numerics {

constexpr double kUdPivotBound = 1e-11;

// True when d may be divided by.
inline bool usablePivot(double d) {
    const double magnitude = std::fabs(d);
    return magnitude >= kUdPivotBound && magnitude <= std::numeric_limits<double>::max();
}

// Row-major n * n storage seen as rows.
struct RowMajor {
    double* data;
    std::ptrdiff_t n;
    double* operator[](std::ptrdiff_t i) const { return data + i * n; }
};

// U D U' factors from the last column backwards, reading the upper triangle:
// D on the diagonal, U's off-diagonal part above it, zeros below. -1 when
// complete, else the index of the first failing pivot (the matrix is then
// partly factored).
template <typename Rows>
std::ptrdiff_t udFactorRows(Rows a, std::ptrdiff_t n) {
    for (std::ptrdiff_t j = n - 1; j >= 0; --j) {
        const double d = a[j][j];
        if (!usablePivot(d)) return j;
        const double alpha = 1.0 / d;
        for (std::ptrdiff_t k = 0; k < j; ++k) {
            const double beta = a[k][j];
            a[k][j] = beta * alpha;
            for (std::ptrdiff_t i = 0; i <= k; ++i) a[i][k] -= beta * a[i][j];
            a[j][k] = 0.0;
        }
    }
    return -1;
}

// Replaces the factors by W = inverse of U above the diagonal and the
// reciprocals of D on it, zeros below. -1 when complete, else the index of
// the diagonal element that failed.
template <typename Rows>
std::ptrdiff_t udInvertRows(Rows a, std::ptrdiff_t n) {
    for (std::ptrdiff_t j = 0; j < n; ++j) {
        for (std::ptrdiff_t c = j + 1; c < n; ++c) {
            double sum = -a[j][c];
            for (std::ptrdiff_t k = j + 1; k < c; ++k) sum -= a[k][c] * a[j][k];
            a[j][c] = sum;
            a[c][j] = 0.0;
        }
        const double d = a[j][j];
        if (!usablePivot(d)) return j;
        a[j][j] = 1.0 / d;
    }
    return -1;
}

// The same on a row-pointer matrix: 1 when complete, 0 at a failing pivot
// and for a negative n.
int udFactor(double** a, int n);
int udInvert(double** a, int n);

}  // namespace quillon::numerics

#endif
