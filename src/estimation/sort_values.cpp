#include "estimation/sort_values.h"

#include <algorithm>
#include <cmath>

namespace quillon::estimation {

bool sortedOrderIsUnique(const double* values, std::size_t count) {
    bool nan = false;
    bool positiveZero = false;
    bool negativeZero = false;
    for (std::size_t i = 0; i < count; ++i) {
        const double v = values[i];
        nan |= v != v;
        positiveZero |= v == 0.0 && !std::signbit(v);
        negativeZero |= v == 0.0 && std::signbit(v);
    }
    return !nan && !(positiveZero && negativeZero);
}

// Without NaN and without zeros of both signs, values that compare equal are
// equal bit for bit, so the sorted array is one and the same whichever sort
// makes it, and the standard library's introsort makes it faster.
void sortValues(std::size_t count, double* values) {
    if (count < 2) return;
    if (!sortedOrderIsUnique(values, count)) {
        heapSortValues(count, values);
        return;
    }
    std::sort(values, values + count);
}

// Described over positions 1..n; position p is element p - 1.
void heapSortValues(std::size_t count, double* values) {
    if (count < 2) return;
    auto at = [values](std::size_t position) -> double& { return values[position - 1]; };
    std::size_t l = count / 2 + 1;
    std::size_t ir = count;
    for (;;) {
        double t;
        if (l > 1) {
            t = at(--l);
        } else {
            t = at(ir);
            at(ir) = at(1);
            if (--ir == 1) {
                at(1) = t;
                return;
            }
        }
        std::size_t i = l;
        std::size_t j = l + l;
        while (j <= ir) {
            if (j < ir && at(j + 1) > at(j)) ++j;
            if (!(at(j) > t)) break;
            at(i) = at(j);
            i = j;
            j += j;
        }
        at(i) = t;
    }
}

double medianOfSorted(const double* sorted, std::size_t count) {
    const std::size_t m = count / 2;
    if (count % 2 != 0) return sorted[m];
    return (sorted[m - 1] + sorted[m]) * 0.5;
}

}  // namespace quillon::estimation
