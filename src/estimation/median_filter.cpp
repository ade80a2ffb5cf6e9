// Running median filter over a ring of time-stamped samples.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "estimation/median_of_few.h"
#include "estimation/sort_values.h"
#include "quillon/cpp/estimation.hpp"

namespace quillon {

namespace {

constexpr int kMostInMedian = 20;

// 1..30: a window below 1 could not hold the sample being added.
int usableWindow(int window) { return std::clamp(window, 1, kMaxFilterWindow); }

// What the last call on a ring gathered (newest first) and the same values in
// ascending order. The next sample of a stream gathers the new value and all
// but the oldest of these, so its median is one removal and one insertion
// away instead of a rank count over all of them. Nothing but the values is
// trusted: the memo is used only where the samples after the newest are, bit
// for bit, a prefix of those it holds, so a ring changed behind its back, or
// another ring at the same address, costs no more than the full count. The
// gathered values are never zero (missing readings are skipped), and a NaN
// leaves the order to the sort, so a memo only ever holds values whose sorted
// order is unique and whose equal values are equal bit for bit.
// Zero is "holds nothing" (no call gathers fewer than three), so the memos
// start as zeros without a constructor to run on each new thread.
struct MedianMemo {
    const double* ring;
    int count;
    double gathered[kMostInMedian];
    double sorted[kMostInMedian];
};

// A few rings per thread, for hosts that run one filter per coordinate in turn.
constexpr int kMemos = 4;
struct MedianMemos {
    MedianMemo memo[kMemos];
    int next;

    MedianMemo& of(const double* ring) {
        for (MedianMemo& m : memo)
            if (m.ring == ring) return m;
        MedianMemo& m = memo[next];
        next = (next + 1) % kMemos;
        m.ring = ring;
        m.count = 0;
        return m;
    }
};
thread_local MedianMemos memos;

// How many of sorted[0..count-1] lie below v: the place where v goes in.
// Two lanes at a time in the vector extensions of GCC and Clang, where each
// comparison gives a count of 0 or -1.
typedef double TwoValues __attribute__((vector_size(16)));
using TwoCounts = decltype(TwoValues{} < TwoValues{});

int placeOf(const double* sorted, int count, double v) {
    const TwoValues pivot = {v, v};
    TwoCounts below = {0, 0};
    int i = 0;
    for (; i + 2 <= count; i += 2) {
        TwoValues lanes;
        std::memcpy(&lanes, sorted + i, sizeof lanes);
        below -= lanes < pivot;
    }
    return int(below[0] + below[1]) + (i < count && sorted[i] < v ? 1 : 0);
}

// Puts v at sorted[at] and moves it to its rank among the others, which are
// in order.
void settle(double* sorted, int count, int at, double v) {
    while (at > 0 && sorted[at - 1] > v) {
        sorted[at] = sorted[at - 1];
        --at;
    }
    while (at + 1 < count && sorted[at + 1] < v) {
        sorted[at] = sorted[at + 1];
        ++at;
    }
    sorted[at] = v;
}

// Whether a[0..count-1] and b[0..count-1] are the same bit for bit. Short
// runs: a loop the compiler keeps inline beats a call to memcmp.
bool sameBits(const double* a, const double* b, int count) {
    std::uint64_t differ = 0;
    for (int i = 0; i < count; ++i) {
        std::uint64_t x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        differ |= x ^ y;
    }
    return differ == 0;
}

// Brings the memo to `gathered` by removals and one insertion, or reports
// that it cannot.
bool advance(MedianMemo& memo, const double* gathered, int k) {
    // Either the newest value is new and the rest are the memo's first k - 1,
    // or (the newest was a missing reading) all k are the memo's first k.
    int kept = k - 1;
    if (kept > memo.count || !sameBits(gathered + 1, memo.gathered, kept)) {
        kept = k;
        if (kept > memo.count || !sameBits(gathered, memo.gathered, kept)) return false;
    }
    if (memo.count - kept > 2) return false;
    bool fresh = kept < k;
    if (fresh && std::isnan(gathered[0])) return false;
    double* const sorted = memo.sorted;
    int n = memo.count;
    // The place of the last value to go takes the new one, which then moves
    // to its rank: a few moves on a steady stream, where taking one out and
    // putting one in would each move half the window.
    for (int i = memo.count - 1; i >= kept; --i) {
        const int at = placeOf(sorted, n, memo.gathered[i]);
        if (fresh) {
            settle(sorted, n, at, gathered[0]);
            fresh = false;
            continue;
        }
        --n;
        std::memmove(sorted + at, sorted + at + 1, sizeof(double) * std::size_t(n - at));
    }
    if (fresh) {
        ++n;
        settle(sorted, n, n - 1, gathered[0]);
    }
    for (int i = 0; i < k; ++i) memo.gathered[i] = gathered[i];
    memo.count = k;
    return true;
}

// The median of gathered[0..k-1] (1 <= k <= kMostInMedian), as medianOfFew
// gives it.
double medianOfGathered(const double* ring, double* gathered, int k) {
    MedianMemo& memo = memos.of(ring);
    if (!advance(memo, gathered, k)) {
        std::memcpy(memo.gathered, gathered, sizeof(double) * k);
        std::memcpy(memo.sorted, gathered, sizeof(double) * k);
        if (!estimation::sortedOrderIsUnique(gathered, std::size_t(k))) {
            memo.count = 0;
            return estimation::medianOfFew(gathered, k);
        }
        std::sort(memo.sorted, memo.sorted + k);
        memo.count = k;
    }
    return estimation::medianOfSorted(memo.sorted, std::size_t(k));
}

}  // namespace

SampleOutcome add_sample(const SampleRing& ring, double value, double time, double tolerance,
                         int max_samples) noexcept {
    // The indexes may come from public fields: bring any that a caller set
    // out of range back into the ring, so no slot outside it is ever read or
    // written. They are worked on in locals, which the stores of samples
    // cannot alias, and written back once.
    const int size = usableWindow(ring.window);
    // Divisions only for an index out of range: three of them would cost a
    // quarter of the call.
    int lastIndex = *ring.last_index;
    if (lastIndex < 0 || lastIndex >= size) lastIndex = ((lastIndex % size) + size) % size;
    int count = std::clamp(*ring.count, 0, size);
    double* const values = ring.values;
    double* const times = ring.times;

    lastIndex = lastIndex + 1 == size ? 0 : lastIndex + 1;
    values[lastIndex] = value;
    times[lastIndex] = time;
    count = count <= size - 1 ? count + 1 : size;
    *ring.last_index = lastIndex;
    *ring.count = count;

    double gathered[kMostInMedian];
    int k = 0;
    const double tNow = times[lastIndex];
    // Newest first, at most `count` samples. Every value is stored and a
    // missing reading (0.0) is then written over, which spares a branch that
    // noisy streams would mispredict.
    int slot = lastIndex;
    for (int steps = 0; steps < count; ++steps) {
        // The walk ends at the first sample that is too old.
        if (tNow - times[slot] > ring.gate) break;
        const double v = values[slot];
        gathered[k] = v;
        k += v != 0.0 ? 1 : 0;
        if (k == kMostInMedian || k == max_samples) break;
        slot = slot == 0 ? size - 1 : slot - 1;
    }

    SampleOutcome outcome;
    if (k >= 5) {
        const double m = medianOfGathered(values, gathered, k);
        if (tolerance > std::fabs(m - value)) {
            outcome.accepted = true;
            outcome.output = m;
            outcome.status = 2;
            return outcome;
        }
    } else if (k >= 3) {
        const double m = medianOfGathered(values, gathered, k);
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
