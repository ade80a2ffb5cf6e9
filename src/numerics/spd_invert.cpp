// Symmetric inversion through U-D factors: inverse = W' D^-1 W, W = U^-1.
#include "numerics/ud_factor.h"
#include "quillon/numerics.h"

namespace {

// Column by column from the last: the columns left of j still hold W and the
// reciprocals of D while column j is turned into its part of the inverse.
void multiplyFactors(double** a, int n) {
    for (int j = n - 1; j >= 0; --j) {
        double t = a[j][j];
        for (int k = 0; k < j; ++k) {
            const double w = a[k][j];
            a[k][j] = w * a[k][k];
            t += (w * a[k][k]) * w;
        }
        for (int m = j - 1; m >= 0; --m) {
            double sum = a[m][j];
            for (int i = 0; i < m; ++i) sum += a[i][m] * a[i][j];
            a[m][j] = sum;
            a[j][m] = sum;
        }
        a[j][j] = t;
    }
}

}  // namespace

int spdinv(double** a, int n) {
    if (n < 0) return 0;
    // A factorization that stops leaves its failing pivot on the diagonal,
    // where the inversion of D meets it again, so its result need not be read.
    quillon::numerics::udFactor(a, n);
    if (quillon::numerics::udInvert(a, n) == 0) return 0;
    multiplyFactors(a, n);
    return 1;
}
