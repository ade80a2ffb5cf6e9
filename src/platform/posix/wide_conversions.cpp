// The C runtime's wide-text conversions, as Windows' _wtof, _wtoi, _wtol,
// _wsplitpath and _wcsupr behave in the classic "C" locale. std::from_chars
// is locale-independent and correctly rounded, unlike wcstod.
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <string>

#include "text/chars.h"
#include "platform/platform.h"

namespace quillon::platform {
namespace {

const wchar_t* skipSpace(const wchar_t* p) {
    while (isSpace(*p)) ++p;
    return p;
}

// Length of the longest prefix of p that reads as a decimal number without
// sign: digits, an optional point and digits, an optional exponent.
std::size_t decimalPrefix(const wchar_t* p) {
    std::size_t i = 0;
    std::size_t mantissaDigits = 0;
    while (isDigit(p[i])) ++i, ++mantissaDigits;
    if (p[i] == L'.') {
        ++i;
        while (isDigit(p[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return 0;
    if (p[i] == L'e' || p[i] == L'E') {
        std::size_t j = i + 1;
        if (p[j] == L'+' || p[j] == L'-') ++j;
        if (isDigit(p[j])) {
            while (isDigit(p[j])) ++j;
            i = j;
        }
    }
    return i;
}

bool startsWithNoCase(const wchar_t* p, const char* word) {
    for (; *word != '\0'; ++p, ++word) {
        if (toUpper(*p) != wchar_t(*word)) return false;
    }
    return true;
}

double specialValue(const wchar_t* p, bool* found) {
    *found = true;
    if (startsWithNoCase(p, "INF")) return HUGE_VAL;
    if (startsWithNoCase(p, "NAN")) return __builtin_nan("");
    *found = false;
    return 0.0;
}

// from_chars leaves the value alone when it overflows or underflows; the C
// runtime gives HUGE_VAL or 0.0. A text underflows when its exponent is
// negative or, without exponent, when its integer digits are all zero.
double outOfRangeValue(const char* text, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (text[i] == 'e' || text[i] == 'E') return (i + 1 < n && text[i + 1] == '-') ? 0.0 : HUGE_VAL;
    }
    for (std::size_t i = 0; i < n && text[i] != '.'; ++i) {
        if (text[i] != '0') return HUGE_VAL;
    }
    return 0.0;
}

double parseDecimal(const wchar_t* p, std::size_t n) {
    char small[64];
    std::string large;
    char* narrow = small;
    if (n > sizeof small) {
        large.resize(n);
        narrow = large.data();
    }
    for (std::size_t i = 0; i < n; ++i) narrow[i] = char(p[i]);  // ASCII by construction
    double value = 0.0;
    auto result = std::from_chars(narrow, narrow + n, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) value = outOfRangeValue(narrow, n);
    return value;
}

// Accumulates leading decimal digits, saturating at the 32-bit range as the
// Windows runtime does on overflow.
long long saturatedDigits(const wchar_t* text) {
    const wchar_t* p = skipSpace(text);
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
    long long magnitude = 0;
    for (; isDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - L'0');
        if (magnitude > 2147483648LL) magnitude = 2147483648LL;
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > INT_MAX) value = INT_MAX;
    return value;
}

void copyPart(wchar_t* out, const wchar_t* begin, const wchar_t* end, std::size_t room) {
    if (out == nullptr) return;
    std::size_t n = std::size_t(end - begin);
    if (n > room - 1) n = room - 1;
    std::memcpy(out, begin, n * sizeof(wchar_t));
    out[n] = L'\0';
}

}  // namespace

double wideToDouble(const wchar_t* text) {
    const wchar_t* p = skipSpace(text);
    bool negative = false;
    if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
    double value;
    std::size_t n = decimalPrefix(p);
    if (n > 0) {
        value = parseDecimal(p, n);
    } else {
        bool found;
        value = specialValue(p, &found);
    }
    return negative ? -value : value;
}

int wideToInt(const wchar_t* text) { return int(saturatedDigits(text)); }

long wideToLong(const wchar_t* text) { return long(saturatedDigits(text)); }

void splitPath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* name, wchar_t* ext) {
    // The component limits of the Windows runtime: _MAX_DRIVE 3, _MAX_DIR,
    // _MAX_FNAME and _MAX_EXT 256, terminators included. Like the runtime, a
    // component that does not fit leaves every output empty.
    const wchar_t* p = path;
    const wchar_t* driveEnd = p;
    if (p[0] != L'\0' && p[1] == L':') driveEnd = p + 2;

    const wchar_t* end = driveEnd + std::wcslen(driveEnd);
    const wchar_t* dirEnd = driveEnd;
    const wchar_t* lastDot = nullptr;
    for (const wchar_t* q = driveEnd; q < end; ++q) {
        if (*q == L'\\' || *q == L'/') {
            dirEnd = q + 1;
            lastDot = nullptr;
        } else if (*q == L'.') {
            lastDot = q;
        }
    }
    const wchar_t* nameEnd = lastDot != nullptr ? lastDot : end;
    const bool fits = (dir == nullptr || dirEnd - driveEnd < 256) && (name == nullptr || nameEnd - dirEnd < 256) &&
                      (ext == nullptr || end - nameEnd < 256);
    if (!fits) driveEnd = dirEnd = nameEnd = end = p;
    copyPart(drive, p, driveEnd, 3);
    copyPart(dir, driveEnd, dirEnd, 256);
    copyPart(name, dirEnd, nameEnd, 256);
    copyPart(ext, nameEnd, end, 256);
}

void upperCase(wchar_t* text) {
    for (; *text != L'\0'; ++text) *text = toUpper(*text);
}

}  // namespace quillon::platform
