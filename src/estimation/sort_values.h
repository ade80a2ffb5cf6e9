// The ascending sort and the median rule shared by the median, the line fit
// and the data filter.
#ifndef QUILLON_ESTIMATION_SORT_VALUES_H
#define QUILLON_ESTIMATION_SORT_VALUES_H

#include <cstddef>

namespace quillon::estimation {

// Whether values that compare equal are all equal bit for bit (no NaN, and
// not both 0.0 and -0.0), so that every ascending sort leaves the same array.
bool sortedOrderIsUnique(const double* values, std::size_t count);

// values[0..count-1] ascending, in place, as the heap sort below leaves
// them, bit for bit. A count below 2 touches nothing.
void sortValues(std::size_t count, double* values);

// Heap sort with strict greater-than comparisons only. NaN loses every
// comparison: the array stays a permutation of its input, but where NaN ends
// up (and so the order around it) is arbitrary, as is which of 0.0 and -0.0
// comes first.
void heapSortValues(std::size_t count, double* values);

// Median of sorted[0..count-1], count at least 1: the middle element, or the
// mean of the two middle ones formed as (low + high) * 0.5.
double medianOfSorted(const double* sorted, std::size_t count);

}  // namespace quillon::estimation

#endif
