// Heap sort described over positions 1..n; position p is element p - 1.
#include "estimation/sort_values.h"

namespace quillon::estimation {

void sortValues(int count, double* values) {
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
