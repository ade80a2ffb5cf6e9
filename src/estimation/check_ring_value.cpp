// Median screen of the newest sample of a 500-slot ring.
#include "estimation/check_ring_value.h"

#include <cmath>

#include "estimation/sort_values.h"

namespace quillon::estimation {

namespace {
constexpr double kMaxAge = 180.0;
constexpr double kTolerance = 150.0;
constexpr int kMostGathered = 7;
constexpr int kLeastGathered = 5;
}  // namespace

int checkRingValue(const double* values, const double* times, int index, int maxExamined, double* out,
                   std::int64_t* aux) {
    if (index < 0 || index >= kRingSlots) return 0;
    const double tNow = times[index];
    double gathered[kMostGathered];
    int k = 0;
    for (int step = 0; step < kRingSlots && step < maxExamined; ++step) {
        const int j = index - step;
        const int slot = j < 0 ? j + kRingSlots : j;
        if (tNow - times[slot] > kMaxAge) break;
        if (values[slot] != 0.0) {
            gathered[k++] = values[slot];
            if (k == kMostGathered) break;
        }
    }
    if (k < kLeastGathered) return 0;
    sortValues(k, gathered);
    const double m = medianOfSorted(gathered, k);
    if (!(kTolerance > std::fabs(m - values[index]))) return 0;
    *out = values[index];
    *aux = 0;
    return 1;
}

}  // namespace quillon::estimation
