#include "estimation/sort_values.h"

#include <algorithm>
#include <cmath>

namespace quillon::estimation {

bool sortedOrderIsUnique(const double* values, int count) {
    bool nan = false;
    bool positiveZero = false;
    bool negativeZero = false;
    for (int i = 0; i < count; ++i) {
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
void sortValues(int count, double* values) {
    if (count < 2) return;
    if (!sortedOrderIsUnique(values, count)) {
        heapSortValues(count, values);
        return;
    }
    std::sort(values, values + count);
}

// Described over positions 1..n; position p is element p - 1.
void heapSortValues(int count, double* values) {
    if (count < 2) return;
    auto at = [values](int position) -> double& { return values[position - 1]; };
    int l = count / 2 + 1;
    int ir = count;
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
        int i = l;
        int j = l + l;
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

double medianOfSorted(const double* sorted, int count) {
    const int m = count / 2;
    if (count % 2 != 0) return sorted[m];
    return (sorted[m - 1] + sorted[m]) * 0.5;
}

}  // namespace quillon::estimation
