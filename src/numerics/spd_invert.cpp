// Symmetric inversion through U-D factors: inverse = W' D^-1 W, W = U^-1.
#include <cmath>

#include "numerics/ud_factor.h"
#include "quillon/cpp/numerics.hpp"

namespace quillon {

namespace {

using numerics::RowMajor;

// Column by column from the last: the columns left of j still hold W and the
// reciprocals of D while column j is turned into its part of the inverse.
// The inner sums walk down columns m and j by pointer, which compiles to
// fewer instructions than indexing by i * n.
void multiplyFactors(double* a, std::ptrdiff_t n) {
    for (std::ptrdiff_t j = n - 1; j >= 0; --j) {
        double* const columnJ = a + j;  // element (k, j) is columnJ[k * n]
        double t = columnJ[j * n];
        for (std::ptrdiff_t k = 0; k < j; ++k) {
            const double w = columnJ[k * n];
            columnJ[k * n] = w * a[k * n + k];
            t += (w * a[k * n + k]) * w;
        }
        for (std::ptrdiff_t m = j - 1; m >= 0; --m) {
            double sum = columnJ[m * n];
            const double* im = a + m;  // element (i, m), then (i + 1, m), ...
            const double* ij = columnJ;
            for (std::ptrdiff_t i = 0; i < m; ++i, im += n, ij += n) sum += *im * *ij;
            columnJ[m * n] = sum;
            a[j * n + m] = sum;
        }
        columnJ[j * n] = t;
    }
}

}  // namespace

Status invert_symmetric(double* a, std::size_t n) noexcept {
    const auto order = static_cast<std::ptrdiff_t>(n);
    const RowMajor rows{a, order};
    // A factorization that stops leaves its failing pivot on the diagonal,
    // where the inversion of D meets it again, so its result need not be read.
    numerics::udFactorRows(rows, order);
    const std::ptrdiff_t failed = numerics::udInvertRows(rows, order);
    if (failed >= 0) {
        if (!std::isfinite(rows[failed][failed]))
            return make_error(Errc::not_finite,
                              "symmetric inversion: the matrix holds NaN or an infinity, or its factors overflow");
        return make_error(Errc::singular, "symmetric inversion: the matrix is singular or nearly so "
                                          "(a pivot below 1e-11 in magnitude)");
    }
    multiplyFactors(a, order);
    return {};
}

}  // namespace quillon
