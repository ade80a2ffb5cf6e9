// The median of a sample array, which is left sorted for the caller.
#include <limits>

#include "estimation/sort_values.h"
#include "quillon/estimation.h"

void centTend(double* values, int count, double* median) {
    if (count < 1) {
        *median = std::numeric_limits<double>::quiet_NaN();
        return;
    }
    quillon::estimation::sortValues(count, values);
    *median = quillon::estimation::medianOfSorted(values, count);
}
