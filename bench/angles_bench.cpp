// Angle, latitude and longitude texts against the swprintf of the same
// template and GeographicLib's DMS::Encode; typed angles against
// GeographicLib's DMS::Decode.
#include <GeographicLib/DMS.hpp>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <quillon/angles.h>

#include "bench_rows.h"
#include "naive_text.h"

namespace {

using GeographicLib::DMS;
using TextFunction = void (*)(wchar_t*, double, int, int);

constexpr std::size_t kInputs = 1024;

struct FormatRow {
    std::string name;
    TextFunction ours;
    TextFunction naive;
    DMS::flag hemisphere;  // how GeographicLib marks the sign
    double low, high;      // range of the inputs
    int decimals;
    int style;             // 0 DMS, 1 DM
};

void registerFormatRow(const FormatRow& row) {
    static std::uint64_t seed = 0x5eed;
    const auto inputs = std::make_shared<const std::vector<double>>(
        bench::uniformValues(kInputs, row.low, row.high, ++seed));

    bench::addRow(row.name, bench::kQuillon, [row, inputs](benchmark::State& state) {
        bench::Cycle<double> values(*inputs);
        wchar_t out[32];
        for (auto _ : state) {
            row.ours(out, values.next(), row.decimals, row.style);
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row.name, "swprintf of the same template", [row, inputs](benchmark::State& state) {
        for (double value : *inputs) {
            wchar_t ours[32], naive[64];
            row.ours(ours, value, row.decimals, row.style);
            row.naive(naive, value, row.decimals, row.style);
            if (!bench::sameOutputOrSkip(state, std::to_wstring(value), ours, naive)) return;
        }
        bench::Cycle<double> values(*inputs);
        wchar_t out[64];
        for (auto _ : state) {
            row.naive(out, values.next(), row.decimals, row.style);
            benchmark::DoNotOptimize(out);
            benchmark::ClobberMemory();
        }
    });
    bench::addRow(row.name, "GeographicLib DMS::Encode", [row, inputs](benchmark::State& state) {
        bench::Cycle<double> values(*inputs);
        const auto trailing = row.style == 0 ? DMS::SECOND : DMS::MINUTE;
        for (auto _ : state) {
            std::string text = DMS::Encode(values.next(), trailing, unsigned(row.decimals), row.hemisphere);
            benchmark::DoNotOptimize(text.data());
        }
    });
}

// "45 30 15.500 W" for the library and "45d30'15.500\"W" for GeographicLib:
// the same angle in each parser's own notation.
struct TypedAngles {
    std::vector<std::wstring> ours;
    std::vector<std::string> peer;
    std::vector<double> values;
};

TypedAngles typedAngles() {
    TypedAngles typed;
    for (double value : bench::uniformValues(kInputs, -180.0, 180.0, 0xa11e)) {
        const double magnitude = std::fabs(value);
        const int d = static_cast<int>(magnitude);
        const int m = static_cast<int>((magnitude - d) * 60.0);
        const double s = std::round(((magnitude - d) * 60.0 - m) * 60.0 * 1000.0) / 1000.0;
        const char hemisphere = value < 0.0 ? 'W' : 'E';
        char text[64];
        std::snprintf(text, sizeof text, "%d %d %.3f %c", d, m, s, hemisphere);
        typed.ours.emplace_back(text, text + std::char_traits<char>::length(text));
        std::snprintf(text, sizeof text, "%dd%d'%.3f\"%c", d, m, s, hemisphere);
        typed.peer.emplace_back(text);
        typed.values.push_back((value < 0.0 ? -1.0 : 1.0) * (d + m / 60.0 + s / 3600.0));
    }
    return typed;
}

void registerParseRow() {
    static const TypedAngles typed = typedAngles();
    const std::string row = "parseStrToAng, \"45 30 15.500 W\"";
    bench::addRow(row, bench::kQuillon, [](benchmark::State& state) {
        for (std::size_t i = 0; i < typed.ours.size(); ++i) {
            int stop = 0;
            if (std::fabs(parseStrToAng(typed.ours[i].c_str(), &stop) - typed.values[i]) > 1e-9) {
                state.SkipWithError("parseStrToAng misread a typed angle");
                return;
            }
        }
        bench::Cycle<std::wstring> texts(typed.ours);
        int stop = 0;
        for (auto _ : state) benchmark::DoNotOptimize(parseStrToAng(texts.next().c_str(), &stop));
    });
    bench::addRow(row, "GeographicLib DMS::Decode", [](benchmark::State& state) {
        for (std::size_t i = 0; i < typed.peer.size(); ++i) {
            DMS::flag ind;
            if (std::fabs(DMS::Decode(typed.peer[i], ind) - typed.values[i]) > 1e-9) {
                state.SkipWithError("DMS::Decode misread a typed angle");
                return;
            }
        }
        bench::Cycle<std::string> texts(typed.peer);
        DMS::flag ind;
        for (auto _ : state) benchmark::DoNotOptimize(DMS::Decode(texts.next(), ind));
    });
}

// The split alone, which the library's text and the swprintf above share:
// the rest of their times is the text.
void registerSplitRows() {
    const auto inputs = std::make_shared<const std::vector<double>>(bench::uniformValues(kInputs, -180, 180, 0x5917));
    bench::addRow("degToDms, 3 decimals", bench::kQuillon, [inputs](benchmark::State& state) {
        bench::Cycle<double> values(*inputs);
        int d = 0, m = 0;
        double s = 0.0;
        for (auto _ : state) {
            degToDms(values.next(), 3, &d, &m, &s);
            benchmark::DoNotOptimize(s);
        }
    });
    bench::addRow("degToDecMin, 4 decimals", bench::kQuillon, [inputs](benchmark::State& state) {
        bench::Cycle<double> values(*inputs);
        int d = 0;
        double m = 0.0;
        for (auto _ : state) {
            degToDecMin(values.next(), 4, &d, &m);
            benchmark::DoNotOptimize(m);
        }
    });
}

const bool registered = [] {
    registerFormatRow({"latToStr DMS, 3 decimals", latToStr, naive::latToStr, DMS::LATITUDE, -90, 90, 3, 0});
    registerFormatRow({"latToStr DM, 4 decimals", latToStr, naive::latToStr, DMS::LATITUDE, -90, 90, 4, 1});
    registerFormatRow({"lonToStr DMS, 3 decimals", lonToStr, naive::lonToStr, DMS::LONGITUDE, -180, 180, 3, 0});
    registerFormatRow({"lonToStr DM, 4 decimals", lonToStr, naive::lonToStr, DMS::LONGITUDE, -180, 180, 4, 1});
    registerFormatRow({"angToStr DMS, 3 decimals", angToStr, naive::angToStr, DMS::NONE, -360, 720, 3, 0});
    registerFormatRow({"angToStr DM, 4 decimals", angToStr, naive::angToStr, DMS::NONE, -360, 720, 4, 1});
    registerSplitRows();
    registerParseRow();
    return true;
}();

}  // namespace
