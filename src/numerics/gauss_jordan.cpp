// Gauss-Jordan inversion with full pivoting, no right-hand sides.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
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
    // Exponent bits, all set only in infinities and NaN; without a branch per
    // element the loop takes several at a time.
    constexpr std::uint64_t kExponent = 0x7FF0000000000000u;
    std::uint64_t worst = 0;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint64_t bits;
        std::memcpy(&bits, a + i, sizeof bits);
        worst |= (bits & kExponent) + 0x0010000000000000u;
    }
    return (worst & 0x8000000000000000u) == 0;
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

    // The columns not yet pivoted, in ascending order: the search visits
    // exactly them, row by row, in the order a scan of every column that
    // skips the used ones would. (A column is used at most once: the pivot
    // is always chosen among unused columns.)
    Scratch<std::size_t, kOrderOnStack> freeScratch(n);
    std::size_t* const freeColumns = freeScratch.get();
    if (freeColumns == nullptr)
        return make_error(Errc::no_memory, "Gauss-Jordan inversion: no memory for the pivot records");
    for (std::size_t k = 0; k < n; ++k) freeColumns[k] = k;
    std::size_t freeCount = n;

    std::size_t irow = 0;
    std::size_t icol = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double big = 0.0;
        bool found = false;
        for (std::size_t j = 0; j < n; ++j) {
            if (used[j] == 1) continue;
            const double* const row = a + j * n;
            for (std::size_t f = 0; f < freeCount; ++f) {
                const std::size_t k = freeColumns[f];
                // ">=": among equal magnitudes the last one visited wins.
                const double magnitude = std::fabs(row[k]);
                if (magnitude >= big) {
                    big = magnitude;
                    irow = j;
                    icol = k;
                    found = true;
                }
            }
        }
        // Only NaN candidates left: no column can be pivoted.
        if (!found) return notFinite();
        ++used[icol];
        std::size_t kept = 0;
        for (std::size_t f = 0; f < freeCount; ++f)
            if (freeColumns[f] != icol) freeColumns[kept++] = freeColumns[f];
        freeCount = kept;
        if (irow != icol)
            for (std::size_t l = 0; l < n; ++l) std::swap(at(irow, l), at(icol, l));
        rows[i] = irow;
        columns[i] = icol;
        const double pivot = at(icol, icol);
        if (pivot == 0.0) return singular();
        // An infinite pivot would turn its row into zeros and pass for an inverse.
        if (!std::isfinite(pivot)) return notFinite();
        // The element in the pivot column is set (to 1, or to 0 in the other
        // rows) before its row is scaled or reduced. It is overwritten after
        // the row's loop instead, with the value the loop would have given
        // it: storing one element just before the loop reads it two at a
        // time would stall every row on a failed store forwarding.
        const double pivinv = 1.0 / pivot;
        double* const pivotRow = a + icol * n;
        for (std::size_t l = 0; l < n; ++l) pivotRow[l] *= pivinv;
        pivotRow[icol] = 1.0 * pivinv;
        for (std::size_t ll = 0; ll < n; ++ll) {
            if (ll == icol) continue;
            double* const row = a + ll * n;
            const double factor = row[icol];
            for (std::size_t l = 0; l < n; ++l) row[l] -= pivotRow[l] * factor;
            row[icol] = 0.0 - pivotRow[icol] * factor;
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
