// The U-D halves on the hosts' row-pointer matrices, for probing them alone.
#include "numerics/ud_factor.h"

namespace quillon::numerics {

int udFactor(double** a, int n) {
    if (n < 0) return 0;
    return udFactorRows(a, n) < 0 ? 1 : 0;
}

int udInvert(double** a, int n) {
    if (n < 0) return 0;
    return udInvertRows(a, n) < 0 ? 1 : 0;
}

}  // namespace quillon::numerics
