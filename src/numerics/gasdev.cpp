// Standard normal deviates by Marsaglia's polar method; each accepted pair
// of uniforms gives two deviates, the second saved for the next call.
#include <cmath>
#include <limits>

#include "numerics/gasdev.h"
#include "numerics/unidev.h"
#include "quillon/numerics.h"

namespace {

struct SavedDeviate {
    int pending = 0;
    double value = 0.0;
};

SavedDeviate saved;

// A pair is rejected with probability 1 - pi/4, so this many rejections in a
// row never happen with states in range. A seed above 54773 starts the
// uniform states negative, where long runs of rejected pairs occur before
// the states return to range; the bound keeps such a call finite.
constexpr long kMaxRejectedPairs = 1L << 22;

}  // namespace

double gasdev(int* seed) {
    if (saved.pending != 0) {
        saved.pending = 0;
        return saved.value;
    }
    double x = 0.0;
    double y = 0.0;
    double rsq = 0.0;
    long rejected = 0;
    do {
        if (rejected++ == kMaxRejectedPairs) return std::numeric_limits<double>::quiet_NaN();
        x = 2.0 * static_cast<double>(quillon::numerics::unidev(seed)) - 1.0;
        y = 2.0 * static_cast<double>(quillon::numerics::unidev(seed)) - 1.0;
        rsq = x * x + y * y;
    } while (rsq >= 1.0 || rsq == 0.0);
    const double fac = std::sqrt(std::log(rsq) * -2.0 / rsq);
    saved.value = x * fac;
    saved.pending = 1;
    return y * fac;
}

namespace quillon::numerics {

void resetGasdevState() {
    saved = SavedDeviate();
    resetUnidevState();
}

}  // namespace quillon::numerics
