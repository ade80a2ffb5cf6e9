// Medians against std::nth_element, the robust line fit, and the median
// filter per sample.
#include <algorithm>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <quillon/estimation.h>

#include <quillon/cpp/estimation.hpp>

#include "bench_rows.h"

namespace {

constexpr std::size_t kSets = 64;  // distinct inputs cycled through

// The median by partial selection: the upper middle by nth_element, the
// lower middle (even counts) as the largest value below it.
double nthElementMedian(double* values, int count) {
    const int middle = count / 2;
    std::nth_element(values, values + middle, values + count);
    if (count % 2 == 1) return values[middle];
    return (*std::max_element(values, values + middle) + values[middle]) * 0.5;
}

// Each call works on a fresh copy (both sort or partition in place); the
// copy is timed on both sides.
void registerMedianRow(int count) {
    const std::string row = "centTend, " + std::to_string(count) + " values";
    auto sets = std::make_shared<std::vector<std::vector<double>>>();
    for (std::size_t s = 0; s < kSets; ++s) sets->push_back(bench::uniformValues(count, -1e3, 1e3, 0xce + s * 131 + count));

    bench::addRow(row, bench::kQuillon, [count, sets](benchmark::State& state) {
        std::vector<double> work(count);
        double median = 0.0;
        std::size_t s = 0;
        for (const auto& set : *sets) {
            work = set;
            centTend(work.data(), count, &median);
            std::vector<double> check = set;
            if (median != nthElementMedian(check.data(), count)) {
                state.SkipWithError("centTend and nth_element disagree on a median");
                return;
            }
        }
        for (auto _ : state) {
            const auto& set = (*sets)[s];
            if (++s == kSets) s = 0;
            std::copy(set.begin(), set.end(), work.begin());
            centTend(work.data(), count, &median);
            benchmark::DoNotOptimize(median);
        }
    });
    bench::addRow(row, "std::nth_element", [count, sets](benchmark::State& state) {
        std::vector<double> work(count);
        std::size_t s = 0;
        for (auto _ : state) {
            const auto& set = (*sets)[s];
            if (++s == kSets) s = 0;
            std::copy(set.begin(), set.end(), work.begin());
            benchmark::DoNotOptimize(nthElementMedian(work.data(), count));
        }
    });
}

// y = 2 + 0.5 x with noise and one point in ten thrown far off.
void registerFitRow(int n) {
    const std::string row = "centTendFit, " + std::to_string(n) + " points";
    bench::addRow(row, bench::kQuillon, [n](benchmark::State& state) {
        std::vector<double> x = bench::uniformValues(n, 0.0, 100.0, 0xf17);
        std::vector<double> y = bench::uniformValues(n, -1.0, 1.0, 0xf18);
        for (int i = 0; i < n; ++i) y[i] += 2.0 + 0.5 * x[i] + (i % 10 == 0 ? 50.0 : 0.0);
        double a = 0.0, b = 0.0, deviation = 0.0;
        for (auto _ : state) {
            centTendFit(x.data(), y.data(), n, &a, &b, &deviation);
            benchmark::DoNotOptimize(b);
        }
    });
}

// The exact fit on the same kind of points.
void registerExactFitRow(int n) {
    const std::string row = "lad_fit (exact), " + std::to_string(n) + " points";
    bench::addRow(row, bench::kQuillon, [n](benchmark::State& state) {
        std::vector<double> x = bench::uniformValues(n, 0.0, 100.0, 0xf17);
        std::vector<double> y = bench::uniformValues(n, -1.0, 1.0, 0xf18);
        for (int i = 0; i < n; ++i) y[i] += 2.0 + 0.5 * x[i] + (i % 10 == 0 ? 50.0 : 0.0);
        for (auto _ : state) {
            const quillon::Result<quillon::Line> line = quillon::lad_fit(x.data(), y.data(), std::size_t(n));
            benchmark::DoNotOptimize(line->b);
        }
    })->Unit(benchmark::kMillisecond);
}

// A steady reading with noise, one wild sample in fifty and one missing
// reading (0.0) in a hundred, one sample a second.
void registerFilterRow() {
    const std::string row = "FilterData::addData, per sample";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        std::vector<double> samples = bench::uniformValues(4096, 9.8, 10.2, 0xf1);
        for (std::size_t i = 0; i < samples.size(); ++i) {
            if (i % 50 == 7) samples[i] = 50.0;
            if (i % 100 == 13) samples[i] = 0.0;
        }
        FilterData filter;
        bench::Cycle<double> values(samples);
        double time = 0.0;
        for (auto _ : state) {
            benchmark::DoNotOptimize(filter.addData(values.next(), time, 0.5, 20));
            time += 1.0;
        }
    });
}

const bool registered = [] {
    for (int count : {5, 20, 1000}) registerMedianRow(count);
    registerFitRow(100);
    registerFitRow(10000);
    registerExactFitRow(100);
    registerExactFitRow(100000);
    registerFilterRow();
    return true;
}();

}  // namespace
