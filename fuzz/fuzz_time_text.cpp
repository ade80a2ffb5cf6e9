// strToTime on any text: the result is 0.0 or a time between 1900-01-01 and
// the first days of 2101; a time it reads between 1970 and 2049 survives
// timeToStr (into a buffer of exactly 20 characters) and strToTime again,
// truncated to tenths of a second.
#include <cmath>

#include "fuzz_support.h"
#include "quillon/timescale.h"

namespace {

constexpr double kFirstReadable = -2208988800.0;  // 1900-01-01 00:00:00
constexpr double kPastLastReadable = 4134067200.0;  // 2101-01-02 00:00:00 (December 32, 2100, 23:59:59.9)
constexpr double kFirstOf2050 = 2524608000.0;      // 2050-01-01 00:00:00, where two-digit years wrap

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));

    const double t = strToTime(text.get());
    FUZZ_CHECK(t == 0.0 || (t >= kFirstReadable && t < kPastLastReadable), "text %s: time %.17g", SHOWN(text), t);
    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        FUZZ_CHECK(strToTime(alone.get()) == t, "text %s: characters after the terminator changed the result",
                   SHOWN(text));
    }
    if (t > 0.0 && t < kFirstOf2050) {
        std::unique_ptr<wchar_t[]> written(new wchar_t[20]);
        const int returned = timeToStr(written.get(), t);
        const std::size_t length = std::wcslen(written.get());
        FUZZ_CHECK(returned == int(length), "time %.17g: returned %d, wrote %zu characters", t, returned, length);
        const double again = strToTime(written.get());
        const std::string writtenShown = fuzz::show(written.get(), length);
        FUZZ_CHECK(length == 19, "time %.17g from %s wrote %s", t, SHOWN(text), writtenShown.c_str());
        FUZZ_CHECK(again <= t + 1e-6 && t - again < 0.1 + 1e-6, "time %.17g from %s wrote %s, read back %.17g", t,
                   SHOWN(text), writtenShown.c_str(), again);
    }
    return 0;
}
