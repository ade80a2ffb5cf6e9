// Typed lengths: [label] [sign] number [unit], e.g. "N 100 m", "-7", "2nm".
#include <cwchar>

#include "text/chars.h"
#include "platform/platform.h"
#include "quillon/units.h"
#include "units/unit_table.h"
#include "units/units_instance.h"

namespace {

using quillon::isAlpha;
using quillon::isDigit;
using quillon::isSpace;
using quillon::toUpper;

constexpr int kMaxNumberChars = 12;

bool isLabel(wchar_t c) {
    switch (toUpper(c)) {
    case L'E': case L'N': case L'O': case L'S': case L'X': case L'Y': return true;
    default: return false;
    }
}

bool startsSuffix(wchar_t c) {
    switch (toUpper(c)) {
    case L'F': case L'K': case L'M': case L'N': case L'Y': return true;
    default: return false;
    }
}

double defaultFactor(int defaultUnit) {
    const Units* units = quillon::units::processUnits();
    if (units == nullptr) return 1.0;
    return quillon::units::usableRow(*units, defaultUnit).toMeters;
}

// Meters in one of the suffix's unit, or 0.0 when it names no unit.
double suffixFactor(wchar_t first, wchar_t second, int length, int defaultUnit) {
    first = toUpper(first);
    second = toUpper(second);
    if (length == 1) return first == L'M' ? 1.0 : 0.0;
    using namespace quillon::units;
    if (first == L'K' && second == L'M') return 1000.0;
    if (first == L'N' && second == L'M') return kNauticalMileMeters;
    if (first == L'Y' && second == L'D') return kYardMeters;
    if (first == L'F' && second == L'T') return defaultUnit == kFeet ? kFootMeters : kUsSurveyFootMeters;
    return 0.0;
}

}  // namespace

double parseStrToUnit(const wchar_t* text, int* stop, int defaultUnit) {
    int scratch = 0;
    if (stop == nullptr) stop = &scratch;
    *stop = 0;
    if (text == nullptr || text[0] == L'\0') return 0.0;
    if (defaultUnit < 0) defaultUnit = 0;

    const wchar_t* p = text;
    auto skipSpace = [&p] { while (isSpace(*p)) ++p; };
    auto done = [&](double value) {
        *stop = static_cast<int>(p - text);
        return value;
    };

    skipSpace();
    if (*p == L'\0') return done(0.0);
    if (isLabel(*p)) {
        ++p;
        skipSpace();
    }
    double sign = 1.0;
    if (*p == L'+' || *p == L'-') {
        if (*p == L'-') sign = -1.0;
        ++p;
        skipSpace();
    }
    if (!isDigit(*p) && *p != L'.') return done(0.0);

    wchar_t number[kMaxNumberChars + 1];
    int n = 0;
    while (n < kMaxNumberChars && (isDigit(*p) || *p == L'.')) number[n++] = *p++;
    number[n] = L'\0';
    double value = quillon::platform::wideToDouble(number);
    skipSpace();

    double factor = defaultFactor(defaultUnit);
    if (startsSuffix(*p)) {
        int length = isAlpha(p[1]) ? 2 : 1;
        double named = suffixFactor(p[0], length == 2 ? p[1] : L'\0', length, defaultUnit);
        if (named != 0.0) {
            factor = named;
            p += length;
        }
    }
    return done(sign * (value * factor));
}
