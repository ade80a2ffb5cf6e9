// Date-time text against the swprintf of the same template and the scan of
// the same layout; GeographicLib's sexagesimal text covers the time of day.
#include <GeographicLib/DMS.hpp>

#include <cmath>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include <quillon/timescale.h>

#include "bench_rows.h"
#include "naive_text.h"

namespace {

using GeographicLib::DMS;

constexpr std::size_t kInputs = 1024;
constexpr double kSecondsPerDay = 86400.0;

// Times from 2001 to 2033, with fractions of a second.
const std::vector<double>& dosTimes() {
    static const std::vector<double> times = bench::uniformValues(kInputs, 1.0e9, 2.0e9, 0x7173);
    return times;
}

double hoursOfDay(double dos) { return std::fmod(dos, kSecondsPerDay) / 3600.0; }

void registerFormatRow() {
    const std::string row = "timeToStr";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        bench::Cycle<double> times(dosTimes());
        wchar_t out[32];
        for (auto _ : state) {
            timeToStr(out, times.next());
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row, "swprintf of the same template", [](benchmark::State& state) {
        for (double t : dosTimes()) {
            wchar_t ours[32], naive[64];
            timeToStr(ours, t);
            naive::timeToStr(naive, t);
            if (!bench::sameOutputOrSkip(state, std::to_wstring(t), ours, naive)) return;
        }
        bench::Cycle<double> times(dosTimes());
        wchar_t out[64];
        for (auto _ : state) {
            naive::timeToStr(out, times.next());
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row, "GeographicLib DMS::Encode (time of day only)", [](benchmark::State& state) {
        bench::Cycle<double> times(dosTimes());
        for (auto _ : state) {
            std::string text = DMS::Encode(hoursOfDay(times.next()), DMS::SECOND, 1, DMS::NONE, ':');
            benchmark::DoNotOptimize(text.data());
        }
    });
}

// The calendar split alone, which timeToStr and its swprintf share.
void registerSplitRow() {
    bench::addRow("dosToYearMonthDay", bench::kQuillon, [](benchmark::State& state) {
        bench::Cycle<double> times(dosTimes());
        int year = 0, month = 0, day = 0, hour = 0, minute = 0;
        double second = 0.0;
        for (auto _ : state) {
            dosToYearMonthDay(times.next(), &year, &month, &day, &hour, &minute, &second);
            benchmark::DoNotOptimize(second);
        }
    });
}

// The month-first text the library writes, "%m-%d-%y %H:%M:%S.s", read
// with one swscanf and converted by the library's own calendar.
double naiveStrToTime(const wchar_t* text) {
    int month = 0, day = 0, year = 0, hour = 0, minute = 0;
    double second = 0.0;
    if (std::swscanf(text, L"%d-%d-%d %d:%d:%lf", &month, &day, &year, &hour, &minute, &second) < 3) return 0.0;
    if (year < 100) year += year >= 50 ? 1900 : 2000;
    return yearMonthDayToDos(year, month, day, hour, minute, second);
}

void registerParseRow() {
    struct Texts {
        std::vector<std::wstring> full;       // "07-15-21 13:12:42.0"
        std::vector<std::string> timeOfDay;   // "13:12:42.0"
    };
    static const Texts texts = [] {
        Texts made;
        for (double t : dosTimes()) {
            wchar_t text[32];
            timeToStr(text, t);
            made.full.emplace_back(text);
            made.timeOfDay.emplace_back(made.full.back().begin() + 9, made.full.back().end());
        }
        return made;
    }();
    const std::string row = "strToTime, \"07-15-21 13:12:42.0\"";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        bench::Cycle<std::wstring> typed(texts.full);
        for (auto _ : state) benchmark::DoNotOptimize(strToTime(typed.next().c_str()));
    });
    bench::addRow(row, "swscanf of the same layout", [](benchmark::State& state) {
        for (const std::wstring& text : texts.full) {
            if (std::fabs(naiveStrToTime(text.c_str()) - strToTime(text.c_str())) > 1e-6) {
                state.SkipWithError("the swscanf reading differs from strToTime");
                return;
            }
        }
        bench::Cycle<std::wstring> typed(texts.full);
        for (auto _ : state) benchmark::DoNotOptimize(naiveStrToTime(typed.next().c_str()));
    });
    bench::addRow(row, "GeographicLib DMS::Decode (time of day only)", [](benchmark::State& state) {
        bench::Cycle<std::string> typed(texts.timeOfDay);
        DMS::flag ind;
        for (auto _ : state) benchmark::DoNotOptimize(DMS::Decode(typed.next(), ind));
    });
}

const bool registered = [] {
    registerFormatRow();
    registerSplitRow();
    registerParseRow();
    return true;
}();

}  // namespace
