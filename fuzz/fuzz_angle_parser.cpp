// parseStrToAng and strToAng on any text: the stop index stays inside the
// text, the angle is finite, both forms agree, and nothing after the
// terminating zero is read.
#include <cmath>

#include "fuzz_support.h"
#include "quillon/angles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));

    int stop = -1;
    const double degrees = parseStrToAng(text.get(), &stop);
    FUZZ_CHECK(stop >= 0 && std::size_t(stop) <= text.length, "text %s: stop %d, length %zu", SHOWN(text), stop,
               text.length);
    FUZZ_CHECK(std::isfinite(degrees), "text %s: angle %g", SHOWN(text), degrees);
    FUZZ_CHECK(degrees == 0.0 || stop > 0, "text %s: angle %g with nothing consumed", SHOWN(text), degrees);
    const double plain = strToAng(text.get());
    FUZZ_CHECK(plain == degrees, "text %s: strToAng %g, parseStrToAng %g", SHOWN(text), plain, degrees);
    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        int aloneStop = -1;
        const double aloneDegrees = parseStrToAng(alone.get(), &aloneStop);
        FUZZ_CHECK(aloneDegrees == degrees && aloneStop == stop,
                   "text %s: characters after the terminator changed the result (%g/%d vs %g/%d)", SHOWN(text),
                   degrees, stop, aloneDegrees, aloneStop);
    }
    return 0;
}
