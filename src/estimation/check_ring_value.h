// A fixed-parameter median test over a caller's ring of 500 samples.
#ifndef QUILLON_ESTIMATION_CHECK_RING_VALUE_H
#define QUILLON_ESTIMATION_CHECK_RING_VALUE_H

#include <cstdint>

namespace quillon::estimation {

constexpr int kRingSlots = 500;

// Walks back from slot index over at most maxExamined slots (and at most
// 500), stopping at the first sample more than 180.0 older than the newest
// and once 7 non-zero values are gathered. With at least 5 gathered and the
// newest value within 150.0 of their median: writes the newest value (raw,
// not the median) to *out, 0 to *aux, and returns 1. Otherwise returns 0 and
// writes nothing; an index outside 0..499 is such a case.
int checkRingValue(const double* values, const double* times, int index, int maxExamined, double* out,
                   std::int64_t* aux);

}  // namespace quillon::estimation

#endif
