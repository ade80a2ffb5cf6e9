// Gauss-Jordan inversion with full pivoting, no right-hand sides.
#include <cmath>
#include <cstddef>
#include <utility>

#include "numerics/scratch.h"
#include "quillon/cpp/numerics.hpp"

namespace quillon {

namespace {

using numerics::kOrderOnStack;
using numerics::Scratch;

// A failed elimination can leave infinities or NaN behind without meeting a
// zero pivot; such a matrix is no inverse.
bool allFinite(const double* a, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
        if (!std::isfinite(a[i])) return false;
    return true;
}

Error singular() {
    return make_error(Errc::singular, "Gauss-Jordan inversion: the matrix is singular");
}

Error notFinite() {
    return make_error(Errc::not_finite,
                      "Gauss-Jordan inversion: the matrix holds NaN or an infinity, or its inverse overflows");
}

}  // namespace

Status invert_gauss_jordan(double* a, std::size_t n) noexcept {
    if (n == 0) return {};
    // The pivot-use count of each column and, per pass, the pivot row and column.
    Scratch<int, kOrderOnStack> usedScratch(n);
    Scratch<std::size_t, kOrderOnStack> rowScratch(n);
    Scratch<std::size_t, kOrderOnStack> columnScratch(n);
    int* const used = usedScratch.get();
    std::size_t* const rows = rowScratch.get();
    std::size_t* const columns = columnScratch.get();
    if (used == nullptr || rows == nullptr || columns == nullptr)
        return make_error(Errc::no_memory, "Gauss-Jordan inversion: no memory for the pivot records");
    for (std::size_t j = 0; j < n; ++j) used[j] = 0;
    auto at = [a, n](std::size_t i, std::size_t k) -> double& { return a[i * n + k]; };

    std::size_t irow = 0;
    std::size_t icol = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double big = 0.0;
        bool found = false;
        for (std::size_t j = 0; j < n; ++j) {
            if (used[j] == 1) continue;
            for (std::size_t k = 0; k < n; ++k) {
                if (used[k] == 0) {
                    // ">=": among equal magnitudes the last one visited wins.
                    if (std::fabs(at(j, k)) >= big) {
                        big = std::fabs(at(j, k));
                        irow = j;
                        icol = k;
                        found = true;
                    }
                } else if (used[k] > 1) {
                    return singular();
                }
            }
        }
        // Only NaN candidates left: no column can be pivoted.
        if (!found) return notFinite();
        ++used[icol];
        if (irow != icol)
            for (std::size_t l = 0; l < n; ++l) std::swap(at(irow, l), at(icol, l));
        rows[i] = irow;
        columns[i] = icol;
        const double pivot = at(icol, icol);
        if (pivot == 0.0) return singular();
        // An infinite pivot would turn its row into zeros and pass for an inverse.
        if (!std::isfinite(pivot)) return notFinite();
        const double pivinv = 1.0 / pivot;
        at(icol, icol) = 1.0;
        for (std::size_t l = 0; l < n; ++l) at(icol, l) *= pivinv;
        for (std::size_t ll = 0; ll < n; ++ll) {
            if (ll == icol) continue;
            const double factor = at(ll, icol);
            at(ll, icol) = 0.0;
            for (std::size_t l = 0; l < n; ++l) at(ll, l) -= at(icol, l) * factor;
        }
    }
    for (std::size_t l = n; l-- > 0;) {
        if (rows[l] != columns[l])
            for (std::size_t k = 0; k < n; ++k) std::swap(at(k, rows[l]), at(k, columns[l]));
    }
    if (!allFinite(a, n * n)) return notFinite();
    return {};
}

}  // namespace quillon
