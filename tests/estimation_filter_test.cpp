// The running median filter and the 500-slot ring check.
#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "estimation/check_ring_value.h"
#include "quillon/estimation.h"

namespace {

struct Step {
    double value;
    int result;
    double output;
    int status;
};

// Feeds samples at times 0, 1, 2, ... and checks every outcome.
void feed(FilterData& filter, const std::vector<Step>& steps, double tolerance, int maxSamples) {
    for (size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        EXPECT_EQ(filter.addData(s.value, static_cast<double>(i), tolerance, maxSamples), s.result)
            << "sample " << i << " = " << s.value;
        EXPECT_DOUBLE_EQ(filter.output, s.output) << "sample " << i << " = " << s.value;
        EXPECT_EQ(filter.status, s.status) << "sample " << i << " = " << s.value;
        EXPECT_EQ(filter.auxOutput, 0);
    }
}

TEST(EstimationFilterData, ConstructionDefaultsAndClamping) {
    const FilterData plain;
    EXPECT_EQ(plain.size, 20);
    EXPECT_EQ(plain.gate, 500.0);
    EXPECT_EQ(plain.count, 0);
    EXPECT_EQ(plain.lastIndex, 0);
    for (double v : plain.values) EXPECT_EQ(v, 0.0);
    for (auto [asked, got] : {std::pair{50, 30}, std::pair{30, 30}, std::pair{1, 1}, std::pair{0, 1},
                              std::pair{-7, 1}}) {
        EXPECT_EQ(FilterData(asked).size, got) << "window " << asked;
    }
}

TEST(EstimationFilterData, ScreensAStreamAgainstTheMedian) {
    FilterData filter;
    feed(filter,
         {{10.0, 0, 10.0, 0},
          {10.1, 0, 10.1, 0},
          {9.9, 1, 10.0, 1},
          {10.2, 1, 10.05, 1},
          {9.8, 1, 10.0, 2},
          {50.0, 0, 50.0, 0},
          {10.0, 1, 10.0, 2},
          {0.0, 0, 0.0, 0}},
         0.5, 20);
    EXPECT_EQ(filter.count, 8);
    EXPECT_EQ(filter.lastIndex, 8) << "the first sample lands in slot 1";
}

TEST(EstimationFilterData, WalkStopsAtTheFirstSampleOlderThanTheGate) {
    FilterData filter;
    for (int i = 0; i < 3; ++i) filter.addData(10.0 + 0.1 * (i % 2), i, 0.5, 20);
    EXPECT_EQ(filter.addData(10.0, 600.0, 0.5, 20), 0);
    EXPECT_EQ(filter.output, 10.0);
    EXPECT_EQ(filter.status, 0);
}

TEST(EstimationFilterData, MaxSamplesAndTheTwentyCapLimitTheMedian) {
    FilterData three;
    FilterData wide(50);
    EXPECT_EQ(wide.size, 30);
    for (int i = 0; i < 40; ++i) {
        // A rising ramp: the median of the newest k samples is value - (k-1)/2.
        const double value = 100.0 + i;
        three.addData(value, i, 1000.0, 3);
        EXPECT_LE(three.status, 1) << "sample " << i;
        wide.addData(value, i, 1000.0, 30);
        if (i >= 19) {
            EXPECT_EQ(wide.output, value - 9.5) << "sample " << i << ": a median of 20";
        }
    }
    EXPECT_EQ(three.output, 139.0 - 1.0);
}

TEST(EstimationFilterData, MaxSamplesZeroStopsOnlyAtAZeroNewestSample) {
    FilterData filter;
    for (int i = 0; i < 6; ++i) filter.addData(5.0, i, 0.5, 0);
    EXPECT_EQ(filter.status, 2) << "a non-zero newest sample lets the walk run on";
    filter.addData(0.0, 6, 0.5, 0);
    EXPECT_EQ(filter.status, 0);
}

TEST(EstimationFilterData, ThreeSamplesNeedAllWithinTolerance) {
    FilterData filter;
    filter.addData(10.0, 0, 0.5, 20);
    filter.addData(12.0, 1, 0.5, 20);
    EXPECT_EQ(filter.addData(10.2, 2, 0.5, 20), 0) << "median 10.2, but 12.0 lies outside";
    EXPECT_EQ(filter.output, 10.2);
}

TEST(EstimationFilterData, BadStateAndSamplesNeitherCrashNorAccept) {
    const double nan = std::nan("");
    FilterData single(0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(single.addData(1.0, i, 0.5, 20), 0) << "a window of 1 never has 3 samples";
    EXPECT_EQ(single.lastIndex, 0);

    FilterData filter;
    for (int i = 0; i < 6; ++i) filter.addData(10.0, i, 0.5, 20);
    EXPECT_EQ(filter.addData(nan, 6, 0.5, 20), 0) << "a NaN sample is never accepted";
    EXPECT_TRUE(std::isnan(filter.output));

    // Public fields set out of range by a caller stay inside the ring.
    for (auto [size, lastIndex, count] : {std::tuple{0, 5, 3}, std::tuple{-3, -40, -2}, std::tuple{99, 77, 1000}}) {
        FilterData odd;
        odd.size = size;
        odd.lastIndex = lastIndex;
        odd.count = count;
        odd.addData(1.0, 0, 0.5, 20);
        EXPECT_GE(odd.lastIndex, 0);
        EXPECT_LT(odd.lastIndex, 30);
        EXPECT_LE(odd.count, odd.size);
    }
}

TEST(EstimationFilterData, AssignmentsCopyEveryField) {
    FilterData source(7, 42.0);
    for (int i = 0; i < 9; ++i) source.addData(3.0 + i, i, 100.0, 20);
    source.values[29] = 8.5;  // beyond the window, still copied
    FilterData copy;
    copy = source;
    FilterData moved;
    moved = std::move(source);
    for (const FilterData* f : {&copy, &moved}) {
        EXPECT_EQ(std::vector<double>(f->values, f->values + 30), std::vector<double>(source.values, source.values + 30));
        EXPECT_EQ(std::vector<double>(f->times, f->times + 30), std::vector<double>(source.times, source.times + 30));
        EXPECT_EQ(f->lastIndex, source.lastIndex);
        EXPECT_EQ(f->count, source.count);
        EXPECT_EQ(f->output, source.output);
        EXPECT_EQ(f->status, source.status);
        EXPECT_EQ(f->size, 7);
        EXPECT_EQ(f->gate, 42.0);
    }
    EXPECT_EQ(source.size, 7) << "the move leaves its source unchanged";
}

class EstimationCheckRingValue : public ::testing::Test {
protected:
    std::vector<double> values = std::vector<double>(quillon::estimation::kRingSlots, 0.0);
    std::vector<double> times = std::vector<double>(quillon::estimation::kRingSlots, -1e9);
    double out = -1.0;
    std::int64_t aux = -1;

    int check(int index, int maxExamined) {
        return quillon::estimation::checkRingValue(values.data(), times.data(), index, maxExamined, &out, &aux);
    }
    // Samples in slots index, index - 1, ... (wrapping), one time unit apart.
    void fill(int index, const std::vector<double>& newestFirst, double tNow = 1000.0) {
        for (size_t k = 0; k < newestFirst.size(); ++k) {
            const int slot = (index - static_cast<int>(k) + 500) % 500;
            values[slot] = newestFirst[k];
            times[slot] = tNow - static_cast<double>(k);
        }
    }
};

TEST_F(EstimationCheckRingValue, WalksBackAcrossTheWrapAndReportsTheRawValue) {
    fill(2, {100.0, 101.0, 0.0, 99.0, 102.0, 98.0});
    EXPECT_EQ(check(2, 500), 1);
    EXPECT_EQ(out, 100.0);
    EXPECT_EQ(aux, 0);
}

TEST_F(EstimationCheckRingValue, RejectionsWriteNothing) {
    const struct {
        const char* name;
        std::vector<double> samples;
        int index, maxExamined;
    } cases[] = {
        {"four values only", {100, 101, 0, 99, 102}, 2, 500},
        {"maxExamined cuts the walk", {100, 101, 99, 102, 98}, 2, 4},
        {"maxExamined zero", {100, 101, 99, 102, 98}, 2, 0},
        {"newest 150 or more from the median", {300, 101, 99, 102, 98, 100}, 2, 500},
        {"index outside the ring", {100, 101, 99, 102, 98}, 500, 500},
        {"negative index", {100, 101, 99, 102, 98}, -1, 500},
    };
    for (const auto& c : cases) {
        SetUp();
        std::fill(values.begin(), values.end(), 0.0);
        std::fill(times.begin(), times.end(), -1e9);
        out = -1.0;
        aux = -1;
        fill(((c.index % 500) + 500) % 500, c.samples);
        EXPECT_EQ(check(c.index, c.maxExamined), 0) << c.name;
        EXPECT_EQ(out, -1.0) << c.name;
        EXPECT_EQ(aux, -1) << c.name;
    }
}

TEST_F(EstimationCheckRingValue, StopsAtTheFirstSampleOlderThan180) {
    fill(10, {100, 101, 99, 102, 98, 100});
    for (double age : {181.0, 180.0}) {
        for (int slot : {7, 6, 5}) times[slot] = 1000.0 - age;
        EXPECT_EQ(check(10, 500), age > 180.0 ? 0 : 1) << "three of six samples " << age << " old";
    }
}

}  // namespace
