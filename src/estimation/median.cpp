// The median of a sample array, which is left sorted for the caller.
#include <limits>

#include "estimation/sort_values.h"
#include "quillon/cpp/estimation.hpp"

namespace quillon {

double sort_and_median(double* values, std::size_t n) noexcept {
    if (n == 0) return std::numeric_limits<double>::quiet_NaN();
    estimation::sortValues(n, values);
    return estimation::medianOfSorted(values, n);
}

}  // namespace quillon
