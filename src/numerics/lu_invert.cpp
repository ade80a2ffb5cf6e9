// Inversion by Crout LU decomposition with implicit (row-scaled) partial
// pivoting, one-based, then one solve per column of the identity.
#include <cmath>
#include <utility>

#include "quillon/numerics.h"

namespace {

constexpr double kTinyPivot = 1e-20;

// The scratch of one inversion, given back on every exit.
struct LuScratch {
    int n;
    double* scale;
    double* column;
    int* pivots;
    double** result;

    explicit LuScratch(int size)
        : n(size), scale(dVector(size)), column(dVector(size)), pivots(iVector(size)), result(dMatrix(size, size)) {}
    ~LuScratch() {
        freeDVector(scale);
        freeDVector(column);
        freeIVector(pivots);
        if (result != nullptr) freeDMatrix(result, n);
    }
    LuScratch(const LuScratch&) = delete;
    LuScratch& operator=(const LuScratch&) = delete;
    bool obtained() const { return scale != nullptr && column != nullptr && pivots != nullptr && result != nullptr; }
};

// 1 / largest magnitude of each row; false for a row with no non-zero element.
bool scaleRows(double** a, int n, double* scale) {
    for (int i = 1; i <= n; ++i) {
        double big = 0.0;
        for (int j = 1; j <= n; ++j) {
            const double magnitude = std::fabs(a[i][j]);
            if (magnitude > big) big = magnitude;
        }
        if (big == 0.0) return false;
        scale[i] = 1.0 / big;
    }
    return true;
}

void decompose(double** a, int n, double* scale, int* pivots) {
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i < j; ++i) {
            double sum = a[i][j];
            for (int k = 1; k < i; ++k) sum -= a[i][k] * a[k][j];
            a[i][j] = sum;
        }
        double big = 0.0;
        // Stays on the diagonal when every figure of merit is NaN.
        int imax = j;
        for (int i = j; i <= n; ++i) {
            double sum = a[i][j];
            for (int k = 1; k < j; ++k) sum -= a[i][k] * a[k][j];
            a[i][j] = sum;
            const double merit = scale[i] * std::fabs(sum);
            if (merit >= big) {
                big = merit;
                imax = i;
            }
        }
        if (j != imax) {
            for (int k = 1; k <= n; ++k) std::swap(a[imax][k], a[j][k]);
            scale[imax] = scale[j];
        }
        pivots[j] = imax;
        if (a[j][j] == 0.0) a[j][j] = kTinyPivot;
        if (j != n) {
            const double factor = 1.0 / a[j][j];
            for (int i = j + 1; i <= n; ++i) a[i][j] *= factor;
        }
    }
}

// Solves LU x = b in place of b, with the recorded row exchanges.
void substitute(double** a, int n, const int* pivots, double* b) {
    int first = 0;
    for (int i = 1; i <= n; ++i) {
        const int p = pivots[i];
        double sum = b[p];
        b[p] = b[i];
        if (first != 0) {
            for (int k = first; k < i; ++k) sum -= a[i][k] * b[k];
        } else if (sum != 0.0) {
            first = i;
        }
        b[i] = sum;
    }
    for (int i = n; i >= 1; --i) {
        double sum = b[i];
        for (int k = i + 1; k <= n; ++k) sum -= a[i][k] * b[k];
        b[i] = sum / a[i][i];
    }
}

}  // namespace

void dInvert(double** a, int n) {
    if (n <= 0) return;
    LuScratch scratch(n);
    if (!scratch.obtained()) return;
    if (!scaleRows(a, n, scratch.scale)) return;
    decompose(a, n, scratch.scale, scratch.pivots);
    for (int j = 1; j <= n; ++j) {
        for (int i = 1; i <= n; ++i) scratch.column[i] = 0.0;
        scratch.column[j] = 1.0;
        substitute(a, n, scratch.pivots, scratch.column);
        for (int i = 1; i <= n; ++i) scratch.result[i][j] = scratch.column[i];
    }
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j) a[i][j] = scratch.result[i][j];
}
