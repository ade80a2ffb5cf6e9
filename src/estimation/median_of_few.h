// The median of a few unsorted values, equal to sorting them with sortValues
// and taking medianOfSorted, for the filters that only want the median of a
// window of recent samples.
#ifndef QUILLON_ESTIMATION_MEDIAN_OF_FEW_H
#define QUILLON_ESTIMATION_MEDIAN_OF_FEW_H

namespace quillon::estimation {

// count at least 1. More than kMostInMedianOfFew values are sorted, and so
// are values whose sorted order is not unique (sortedOrderIsUnique); the
// values may be reordered.
constexpr int kMostInMedianOfFew = 32;
double medianOfFew(double* values, int count);

}  // namespace quillon::estimation

#endif
