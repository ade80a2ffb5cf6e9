// Every benchmark measures one implementation of one row of the performance
// table. Its name is "<row>@<implementation>": "quillon" for the library,
// anything else for a peer measured in the same run. The report pairs them
// by row, in the order the rows are registered.
#ifndef QUILLON_BENCH_BENCH_ROWS_H
#define QUILLON_BENCH_BENCH_ROWS_H

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace bench {

inline constexpr const char* kQuillon = "quillon";

// Registers fn(benchmark::State&) as implementation `impl` of row `row`.
template <class Fn>
benchmark::internal::Benchmark* addRow(const std::string& row, const std::string& impl, Fn&& fn) {
    return benchmark::RegisterBenchmark((row + "@" + impl).c_str(), std::forward<Fn>(fn));
}

// Cycles through a fixed set of inputs so that every implementation of a row
// sees the same values in the same order, and no branch predictor learns a
// single value. next() costs one compare.
template <class T>
class Cycle {
public:
    explicit Cycle(const std::vector<T>& items) : items_(items) {}
    const T& next() {
        const T& item = items_[at_];
        if (++at_ == items_.size()) at_ = 0;
        return item;
    }

private:
    const std::vector<T>& items_;
    std::size_t at_ = 0;
};

// Deterministic doubles uniform in [low, high): the same sequence on every
// run and platform (a 64-bit linear congruential generator).
std::vector<double> uniformValues(std::size_t count, double low, double high, std::uint64_t seed);

// Reports the first input whose two texts differ and stops the benchmark;
// true when every pair matched. The texts compared are the outputs of the
// library and of the naive implementation for the same input.
bool sameOutputOrSkip(benchmark::State& state, const std::wstring& input, const std::wstring& ours,
                      const std::wstring& naive);

}  // namespace bench

#endif
