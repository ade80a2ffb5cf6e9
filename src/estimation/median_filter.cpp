// Running median filter over a ring of time-stamped samples.
#include <algorithm>
#include <cmath>

#include "estimation/median_of_few.h"
#include "quillon/cpp/estimation.hpp"

namespace quillon {

namespace {

constexpr int kMostInMedian = 20;

// 1..30: a window below 1 could not hold the sample being added.
int usableWindow(int window) { return std::clamp(window, 1, kMaxFilterWindow); }

}  // namespace

SampleOutcome add_sample(const SampleRing& ring, double value, double time, double tolerance,
                         int max_samples) noexcept {
    // The indexes may come from public fields: bring any that a caller set
    // out of range back into the ring, so no slot outside it is ever read or
    // written. They are worked on in locals, which the stores of samples
    // cannot alias, and written back once.
    const int size = usableWindow(ring.window);
    int lastIndex = ((*ring.last_index % size) + size) % size;
    int count = std::clamp(*ring.count, 0, size);
    double* const values = ring.values;
    double* const times = ring.times;

    lastIndex = (lastIndex + 1) % size;
    values[lastIndex] = value;
    times[lastIndex] = time;
    count = count <= size - 1 ? count + 1 : size;
    *ring.last_index = lastIndex;
    *ring.count = count;

    double gathered[kMostInMedian];
    int k = 0;
    const double tNow = times[lastIndex];
    int steps = 0;
    for (int j = lastIndex; j > lastIndex - size; --j) {
        if (++steps > count) break;
        const int slot = j < 0 ? j + size : j;
        // The walk ends at the first sample that is too old.
        if (tNow - times[slot] > ring.gate) break;
        if (values[slot] != 0.0) gathered[k++] = values[slot];
        if (k == kMostInMedian || k == max_samples) break;
    }

    SampleOutcome outcome;
    if (k >= 5) {
        const double m = estimation::medianOfFew(gathered, k);
        if (tolerance > std::fabs(m - value)) {
            outcome.accepted = true;
            outcome.output = m;
            outcome.status = 2;
            return outcome;
        }
    } else if (k >= 3) {
        const double m = estimation::medianOfFew(gathered, k);
        int near = 0;
        for (int i = 0; i < k; ++i)
            if (tolerance > std::fabs(m - gathered[i])) ++near;
        if (tolerance > std::fabs(m - value) && near >= 3) {
            outcome.accepted = true;
            outcome.output = m;
            outcome.status = 1;
            return outcome;
        }
    }
    outcome.output = value;
    return outcome;
}

MedianFilter::MedianFilter(int window, double gate) noexcept : window_(usableWindow(window)), gate_(gate) {}

SampleOutcome MedianFilter::add(double value, double time, double tolerance, int max_samples) noexcept {
    const SampleRing ring{values_, times_, &last_index_, &count_, window_, gate_};
    return add_sample(ring, value, time, tolerance, max_samples);
}

}  // namespace quillon
