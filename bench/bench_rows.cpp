#include "bench_rows.h"

#include <string>

namespace bench {

std::vector<double> uniformValues(std::size_t count, double low, double high, std::uint64_t seed) {
    std::vector<double> values;
    values.reserve(count);
    std::uint64_t state = seed;
    for (std::size_t i = 0; i < count; ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) * (1.0 / 9007199254740992.0);
        values.push_back(low + (high - low) * unit);
    }
    return values;
}

namespace {

// The build, written into the run's context for the report.
const bool contextAdded = [] {
    benchmark::AddCustomContext("compiler", QUILLON_BENCH_COMPILER);
    benchmark::AddCustomContext("build_type", QUILLON_BENCH_BUILD_TYPE);
    return true;
}();

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    return out;
}
}  // namespace

bool sameOutputOrSkip(benchmark::State& state, const std::wstring& input, const std::wstring& ours,
                      const std::wstring& naive) {
    if (ours == naive) return true;
    const std::string message = "output differs for " + narrow(input) + ": quillon \"" + narrow(ours) +
                                "\", swprintf \"" + narrow(naive) + "\"";
    state.SkipWithError(message.c_str());
    return false;
}

}  // namespace bench
