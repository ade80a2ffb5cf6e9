// parseStrToDist with every distance unit setting the process-wide instance
// may hold, including indexes outside the table read from a damaged file.
#include <cmath>

#include "fuzz_support.h"
#include "quillon/units.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const int created = allocUnits(L"");
    (void)created;
    fuzz::Input in(data, size);
    const int distUnits = in.inRange(-3, 12);
    getUnits()->distUnits = distUnits;
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));

    const double meters = parseStrToDist(text.get());
    FUZZ_CHECK(std::isfinite(meters), "text %s distUnits %d: value %g", SHOWN(text), distUnits, meters);
    int stop = 0;
    const double direct = parseStrToUnit(text.get(), &stop, distUnits);
    FUZZ_CHECK(direct == meters, "text %s distUnits %d: parseStrToDist %g, parseStrToUnit %g", SHOWN(text), distUnits,
               meters, direct);
    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        FUZZ_CHECK(parseStrToDist(alone.get()) == meters, "text %s: characters after the terminator changed the result",
                   SHOWN(text));
    }
    return 0;
}
