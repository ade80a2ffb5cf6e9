// Gauss-Jordan inversion with full pivoting, zero-based, no right-hand sides.
#include <cmath>
#include <utility>

#include "quillon/numerics.h"

namespace {

// The pivot-use count of each column and, per pass, the pivot row and column.
struct PivotRecords {
    int* used;
    int* rows;
    int* columns;

    explicit PivotRecords(int n) : used(iVector(n)), rows(iVector(n)), columns(iVector(n)) {}
    ~PivotRecords() {
        freeIVector(columns);
        freeIVector(rows);
        freeIVector(used);
    }
    PivotRecords(const PivotRecords&) = delete;
    PivotRecords& operator=(const PivotRecords&) = delete;
    bool obtained() const { return used != nullptr && rows != nullptr && columns != nullptr; }
};

// A failed elimination can leave infinities or NaN behind without meeting a
// zero pivot; such a matrix is no inverse.
bool allFinite(double** a, int n) {
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k)
            if (!std::isfinite(a[i][k])) return false;
    return true;
}

}  // namespace

int gaussj(double** a, int n) {
    if (n < 0) return 0;
    PivotRecords records(n);
    if (!records.obtained()) return 0;
    int* const used = records.used;
    for (int j = 0; j < n; ++j) used[j] = 0;

    int irow = 0;
    int icol = 0;
    for (int i = 0; i < n; ++i) {
        double big = 0.0;
        bool found = false;
        for (int j = 0; j < n; ++j) {
            if (used[j] == 1) continue;
            for (int k = 0; k < n; ++k) {
                if (used[k] == 0) {
                    // ">=": among equal magnitudes the last one visited wins.
                    if (std::fabs(a[j][k]) >= big) {
                        big = std::fabs(a[j][k]);
                        irow = j;
                        icol = k;
                        found = true;
                    }
                } else if (used[k] > 1) {
                    return 0;
                }
            }
        }
        // Only NaN candidates left: no column can be pivoted.
        if (!found) return 0;
        ++used[icol];
        if (irow != icol)
            for (int l = 0; l < n; ++l) std::swap(a[irow][l], a[icol][l]);
        records.rows[i] = irow;
        records.columns[i] = icol;
        // An infinite pivot would turn its row into zeros and pass for an inverse.
        if (a[icol][icol] == 0.0 || !std::isfinite(a[icol][icol])) return 0;
        const double pivinv = 1.0 / a[icol][icol];
        a[icol][icol] = 1.0;
        for (int l = 0; l < n; ++l) a[icol][l] *= pivinv;
        for (int ll = 0; ll < n; ++ll) {
            if (ll == icol) continue;
            const double factor = a[ll][icol];
            a[ll][icol] = 0.0;
            for (int l = 0; l < n; ++l) a[ll][l] -= a[icol][l] * factor;
        }
    }
    for (int l = n - 1; l >= 0; --l) {
        if (records.rows[l] != records.columns[l])
            for (int k = 0; k < n; ++k) std::swap(a[k][records.rows[l]], a[k][records.columns[l]]);
    }
    return allFinite(a, n) ? 1 : 0;
}
