// Running median filter over a ring of time-stamped samples.
#include <algorithm>
#include <cmath>

#include "estimation/median_of_few.h"
#include "quillon/estimation.h"

namespace {

constexpr int kRingCapacity = 30;
constexpr int kMostInMedian = 20;

// 1..30: a window below 1 could not hold the sample being added.
int usableWindow(int size) { return std::clamp(size, 1, kRingCapacity); }

void copyFields(FilterData& to, const FilterData& from) {
    std::copy(from.values, from.values + kRingCapacity, to.values);
    std::copy(from.times, from.times + kRingCapacity, to.times);
    to.lastIndex = from.lastIndex;
    to.count = from.count;
    to.output = from.output;
    to.auxOutput = from.auxOutput;
    to.status = from.status;
    to.size = from.size;
    to.gate = from.gate;
}

}  // namespace

FilterData::FilterData(int size_, double gate_)
    : values(), times(), lastIndex(0), count(0), output(0.0), auxOutput(0), status(0),
      size(usableWindow(size_)), gate(gate_) {}

FilterData& FilterData::operator=(const FilterData& other) {
    if (this != &other) copyFields(*this, other);
    return *this;
}

FilterData& FilterData::operator=(FilterData&& other) {
    if (this != &other) copyFields(*this, other);
    return *this;
}

int FilterData::addData(double value, double time, double tolerance, int maxSamples) {
    // The fields are public: bring any the caller set out of range back into
    // the ring, so no slot outside it is ever read or written.
    size = usableWindow(size);
    lastIndex = ((lastIndex % size) + size) % size;
    count = std::clamp(count, 0, size);

    lastIndex = (lastIndex + 1) % size;
    values[lastIndex] = value;
    times[lastIndex] = time;
    count = count <= size - 1 ? count + 1 : size;
    status = 0;

    double gathered[kMostInMedian];
    int k = 0;
    const double tNow = times[lastIndex];
    int steps = 0;
    for (int j = lastIndex; j > lastIndex - size; --j) {
        if (++steps > count) break;
        const int slot = j < 0 ? j + size : j;
        // The walk ends at the first sample that is too old.
        if (tNow - times[slot] > gate) break;
        if (values[slot] != 0.0) gathered[k++] = values[slot];
        if (k == kMostInMedian || k == maxSamples) break;
    }

    auxOutput = 0;
    if (k >= 5) {
        const double m = quillon::estimation::medianOfFew(gathered, k);
        if (tolerance > std::fabs(m - value)) {
            output = m;
            status = 2;
            return 1;
        }
    } else if (k >= 3) {
        const double m = quillon::estimation::medianOfFew(gathered, k);
        int near = 0;
        for (int i = 0; i < k; ++i)
            if (tolerance > std::fabs(m - gathered[i])) ++near;
        if (tolerance > std::fabs(m - value) && near >= 3) {
            output = m;
            status = 1;
            return 1;
        }
    }
    output = value;
    return 0;
}
