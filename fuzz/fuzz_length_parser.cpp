// parseStrToUnit and Units::fromStr on any text with any default unit,
// valid or not: the stop index stays inside the text, the value is finite,
// and nothing after the terminating zero is read.
#include <cmath>

#include "fuzz_support.h"
#include "quillon/units.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int created = allocUnits(L"");  // a missing file: all settings 0
    (void)created;
    fuzz::Input in(data, size);
    const int defaultUnit = in.inRange(-3, 12);  // the table has rows 0..9 only
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));

    int stop = -1;
    const double meters = parseStrToUnit(text.get(), &stop, defaultUnit);
    FUZZ_CHECK(stop >= 0 && std::size_t(stop) <= text.length, "text %s unit %d: stop %d, length %zu", SHOWN(text),
               defaultUnit, stop, text.length);
    FUZZ_CHECK(std::isfinite(meters), "text %s unit %d: value %g", SHOWN(text), defaultUnit, meters);
    FUZZ_CHECK(meters == 0.0 || stop > 0, "text %s: value %g with nothing consumed", SHOWN(text), meters);
    FUZZ_CHECK(parseStrToUnit(text.get(), nullptr, defaultUnit) == meters, "text %s: null stop pointer changes the value",
               SHOWN(text));
    const double viaObject = getUnits()->fromStr(text.get(), defaultUnit);
    FUZZ_CHECK(viaObject == meters, "text %s unit %d: fromStr %g, parseStrToUnit %g", SHOWN(text), defaultUnit,
               viaObject, meters);

    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        int aloneStop = -1;
        const double aloneMeters = parseStrToUnit(alone.get(), &aloneStop, defaultUnit);
        FUZZ_CHECK(aloneMeters == meters && aloneStop == stop,
                   "text %s: characters after the terminator changed the result (%g/%d vs %g/%d)", SHOWN(text),
                   meters, stop, aloneMeters, aloneStop);
    }
    return 0;
}
