// U-D factorization (Bierman's column-backwards form) and the inversion of
// its factors. The order of every update is fixed: later steps read values
// the earlier ones overwrote in place.
#include "numerics/ud_factor.h"

#include <cmath>
#include <limits>

namespace quillon::numerics {

bool usablePivot(double d) {
    const double magnitude = std::fabs(d);
    return magnitude >= kUdPivotBound && magnitude <= std::numeric_limits<double>::max();
}

int udFactor(double** a, int n) {
    if (n < 0) return 0;
    for (int j = n - 1; j >= 0; --j) {
        const double d = a[j][j];
        if (!usablePivot(d)) return 0;
        const double alpha = 1.0 / d;
        for (int k = 0; k < j; ++k) {
            const double beta = a[k][j];
            a[k][j] = beta * alpha;
            for (int i = 0; i <= k; ++i) a[i][k] -= beta * a[i][j];
            a[j][k] = 0.0;
        }
    }
    return 1;
}

int udInvert(double** a, int n) {
    if (n < 0) return 0;
    for (int j = 0; j < n; ++j) {
        for (int c = j + 1; c < n; ++c) {
            double sum = -a[j][c];
            for (int k = j + 1; k < c; ++k) sum -= a[k][c] * a[j][k];
            a[j][c] = sum;
            a[c][j] = 0.0;
        }
        const double d = a[j][j];
        if (!usablePivot(d)) return 0;
        a[j][j] = 1.0 / d;
    }
    return 1;
}

}  // namespace quillon::numerics
