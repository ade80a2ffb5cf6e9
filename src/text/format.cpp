#include "text/format.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace quillon::fmt {
namespace {

// "00" to "99": two digits per division halves the chain of dependent
// divisions, which is most of the cost of writing a number.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of a whole number, least significant first.
struct ReversedDigits {
    char digit[24];
    int count = 0;

    // At least minCount digits, with leading zeros: 5 with 4 -> "0005".
    ReversedDigits(std::uint64_t whole, int minCount) {
        if (whole <= 0xFFFFFFFFu) {
            take(static_cast<std::uint32_t>(whole));  // 32-bit divisions are cheaper
        } else {
            take(whole);
        }
        while (count < minCount) digit[count++] = '0';
    }

private:
    template <class Whole>
    void take(Whole whole) {
        while (whole >= 100) {
            const auto pair = static_cast<unsigned int>(whole % 100) * 2;
            whole /= 100;
            digit[count++] = kDigitPairs[pair + 1];
            digit[count++] = kDigitPairs[pair];
        }
        if (whole >= 10) {
            digit[count++] = kDigitPairs[whole * 2 + 1];
            digit[count++] = kDigitPairs[whole * 2];
        } else {
            digit[count++] = static_cast<char>('0' + whole);
        }
    }
};

constexpr double kExactPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
constexpr int kFastMaxDecimals = 9;
// Below 2^53 every integer is a double, so the scaled value's whole part is
// exact and fits 64 bits.
constexpr double kFastLimit = 9007199254740992.0;
// Twice the largest relative rounding error of one double product (2^-52).
constexpr double kProductMargin = 2.220446049250313e-16;

// The magnitude of "%.*f" of value as a whole number of 10^-decimals, when
// that can be had without the general conversion: the magnitude times
// 10^decimals (an exact power) rounded to the nearest integer, where the
// product lies far enough from a tie that its rounding error cannot move it
// across one. Then the integer is the one rounded from the exact decimal
// value of the double, as printf rounds. False when the exact conversion
// must decide: near a tie, too large, not finite, or beyond 9 decimals.
bool scaledMagnitude(double value, int decimals, std::uint64_t* whole) {
    if (decimals < 0 || decimals > kFastMaxDecimals) return false;
    const double scaled = std::fabs(value) * kExactPowers[decimals];
    if (!(scaled < kFastLimit)) return false;
    *whole = static_cast<std::uint64_t>(scaled);
    const double fraction = scaled - static_cast<double>(*whole);  // exact
    if (std::fabs(fraction - 0.5) <= scaled * kProductMargin) return false;
    if (fraction > 0.5) ++*whole;
    return true;
}

// Sign, zeros up to width, then the digits with the point before the last
// `decimals`: 1234567 at 3 -> "1234.567"; 5 at 3, width 6 -> "00.005".
template <class CharT>
int writeScaled(CharT* out, bool negative, std::uint64_t whole, int decimals, int width) {
    const ReversedDigits digits(whole, decimals + 1);
    int n = 0;
    if (negative) out[n++] = CharT('-');  // "-0.000" for -0.0001, as printf
    const int length = n + digits.count + (decimals > 0 ? 1 : 0);
    for (int fill = width - length; fill > 0; --fill) out[n++] = CharT('0');
    for (int i = digits.count - 1; i >= 0; --i) {
        if (i + 1 == decimals) out[n++] = CharT('.');
        out[n++] = CharT(digits.digit[i]);
    }
    return n;
}

template <class CharT>
int widen(CharT* out, const char* begin, const char* end) {
    int n = 0;
    for (const char* p = begin; p < end; ++p) out[n++] = CharT(*p);
    return n;
}

}  // namespace

template <class CharT>
int fixed(CharT* out, double value, int decimals) {
    std::uint64_t whole = 0;
    if (scaledMagnitude(value, decimals, &whole)) return writeScaled(out, std::signbit(value), whole, decimals, 0);
    char digits[kMaxFixedChars + 16];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    return widen(out, digits, result.ptr);
}

template <class CharT>
int fixedZeroPadded(CharT* out, double value, int width, int decimals) {
    std::uint64_t whole = 0;
    if (scaledMagnitude(value, decimals, &whole))
        return writeScaled(out, std::signbit(value), whole, decimals, width);
    char digits[kMaxFixedChars + 16];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    const int length = int(result.ptr - digits);
    const char* begin = digits;
    const bool negative = *begin == '-';
    const bool finite = begin[negative ? 1 : 0] >= '0' && begin[negative ? 1 : 0] <= '9';
    int n = 0;
    if (!finite) {  // printf pads "inf" and "nan" with blanks, not zeros
        for (int fill = width - length; fill > 0; --fill) out[n++] = CharT(' ');
        return n + widen(out + n, digits, result.ptr);
    }
    if (negative) {
        out[n++] = CharT('-');
        ++begin;
    }
    for (int fill = width - length; fill > 0; --fill) out[n++] = CharT('0');
    return n + widen(out + n, begin, result.ptr);
}

template <class CharT>
int integer(CharT* out, int value, int width, bool zeroPad) {
    const bool negative = value < 0;
    // The magnitude in unsigned arithmetic, so that INT_MIN has one too.
    const auto magnitude = negative ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
    const ReversedDigits digits(magnitude, 1);
    const int length = digits.count + (negative ? 1 : 0);
    int n = 0;
    if (negative && zeroPad) out[n++] = CharT('-');  // "-05": the sign before the zeros
    for (int fill = width - length; fill > 0; --fill) out[n++] = CharT(zeroPad ? '0' : ' ');
    if (negative && !zeroPad) out[n++] = CharT('-');  // " -5": the sign after the blanks
    for (int i = digits.count - 1; i >= 0; --i) out[n++] = CharT(digits.digit[i]);
    return n;
}

template <class CharT>
int copyText(CharT* out, const CharT* text) {
    int n = 0;
    while (text[n] != CharT(0)) {
        out[n] = text[n];
        ++n;
    }
    return n;
}

template int fixed(char*, double, int);
template int fixed(wchar_t*, double, int);
template int fixedZeroPadded(char*, double, int, int);
template int fixedZeroPadded(wchar_t*, double, int, int);
template int integer(char*, int, int, bool);
template int integer(wchar_t*, int, int, bool);
template int copyText(char*, const char*);
template int copyText(wchar_t*, const wchar_t*);

}  // namespace quillon::fmt
