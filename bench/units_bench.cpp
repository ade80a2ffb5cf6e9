// Distances as text against the swprintf of the same template and
// GeographicLib's number formatting; typed lengths against the standard
// number conversion.
#include <GeographicLib/Utility.hpp>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include <quillon/units.h>

#include "bench_rows.h"
#include "naive_text.h"

namespace {

constexpr std::size_t kInputs = 1024;

// The process-wide settings the distance functions read. The file does not
// exist, so every setting starts at 0, and nothing is ever saved.
Units& processUnits() {
    static const bool made = allocUnits(L"/nonexistent/quillon-bench/quillon.ini") == 1;
    (void)made;
    return *getUnits();
}

void registerDistanceRow(const std::string& name, int unit) {
    const auto inputs =
        std::make_shared<const std::vector<double>>(bench::uniformValues(kInputs, -1000.0, 100000.0, 0xd157 + unit));

    bench::addRow(name, bench::kQuillon, [unit, inputs](benchmark::State& state) {
        processUnits().distUnits = unit;
        bench::Cycle<double> values(*inputs);
        wchar_t out[64];
        for (auto _ : state) {
            distToStr(out, values.next());
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(name, "swprintf of the same template", [unit, inputs](benchmark::State& state) {
        Units& units = processUnits();
        units.distUnits = unit;
        for (double value : *inputs) {
            wchar_t ours[64], naive[64];
            const Unit& row = units.unitTable[units.distUnits];
            distToStr(ours, value);
            naive::distToStr(naive, value, row.toMeters, row.decimals, row.abbrev);
            if (!bench::sameOutputOrSkip(state, std::to_wstring(value), ours, naive)) return;
        }
        bench::Cycle<double> values(*inputs);
        wchar_t out[64];
        for (auto _ : state) {
            const Unit& row = units.unitTable[units.distUnits];
            naive::distToStr(out, values.next(), row.toMeters, row.decimals, row.abbrev);
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(name, "GeographicLib Utility::str", [unit, inputs](benchmark::State& state) {
        Units& units = processUnits();
        units.distUnits = unit;
        const Unit& chosen = units.unitTable[unit];
        const std::string abbrev(chosen.abbrev, chosen.abbrev + std::wcslen(chosen.abbrev));
        bench::Cycle<double> values(*inputs);
        for (auto _ : state) {
            const Unit& row = units.unitTable[units.distUnits];
            std::string text = GeographicLib::Utility::str(values.next() / row.toMeters, row.decimals);
            text += abbrev;  // as a caller would append it
            benchmark::DoNotOptimize(text.data());
        }
    });
}

// "1234.567 m", "-12.50ft", "2.5 km", "0.75nm", "42": numbers with and
// without a unit, as users type them.
std::vector<std::wstring> typedLengths() {
    static const char* const kSuffixes[] = {" m", "ft", " km", "nm", ""};
    std::vector<std::wstring> texts;
    std::size_t i = 0;
    for (double value : bench::uniformValues(kInputs, -100.0, 10000.0, 0x1e47)) {
        char text[64];
        std::snprintf(text, sizeof text, "%.3f%s", value, kSuffixes[i++ % 5]);
        texts.emplace_back(text, text + std::char_traits<char>::length(text));
    }
    return texts;
}

void registerParseRow() {
    static const std::vector<std::wstring> texts = typedLengths();
    const std::string row = "parseStrToUnit, \"1234.567 m\"";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        processUnits().distUnits = 0;
        bench::Cycle<std::wstring> typed(texts);
        int stop = 0;
        for (auto _ : state) benchmark::DoNotOptimize(parseStrToUnit(typed.next().c_str(), &stop, 0));
    });
    bench::addRow(row, "wcstod (the number only)", [](benchmark::State& state) {
        bench::Cycle<std::wstring> typed(texts);
        wchar_t* end = nullptr;
        for (auto _ : state) benchmark::DoNotOptimize(std::wcstod(typed.next().c_str(), &end));
    });
}

const bool registered = [] {
    registerDistanceRow("distToStr, meters (2 decimals)", 0);
    registerDistanceRow("distToStr, kilometers (5 decimals)", 3);
    registerParseRow();
    return true;
}();

}  // namespace
