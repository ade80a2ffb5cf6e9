#include "platform/format.h"

#include <charconv>

namespace quillon::fmt {
namespace {

int widen(wchar_t* out, const char* begin, const char* end) {
    int n = 0;
    for (const char* p = begin; p < end; ++p) out[n++] = wchar_t(*p);
    return n;
}

}  // namespace

int fixed(wchar_t* out, double value, int decimals) {
    char digits[kMaxFixedChars + 16];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    return widen(out, digits, result.ptr);
}

int fixedZeroPadded(wchar_t* out, double value, int width, int decimals) {
    char digits[kMaxFixedChars + 16];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
    const int length = int(result.ptr - digits);
    const char* begin = digits;
    const bool negative = *begin == '-';
    const bool finite = begin[negative ? 1 : 0] >= '0' && begin[negative ? 1 : 0] <= '9';
    int n = 0;
    if (!finite) {  // printf pads "inf" and "nan" with blanks, not zeros
        for (int fill = width - length; fill > 0; --fill) out[n++] = L' ';
        return n + widen(out + n, digits, result.ptr);
    }
    if (negative) {
        out[n++] = L'-';
        ++begin;
    }
    for (int fill = width - length; fill > 0; --fill) out[n++] = L'0';
    return n + widen(out + n, begin, result.ptr);
}

int integer(wchar_t* out, int value, int width, bool zeroPad) {
    char digits[16];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    int length = int(result.ptr - digits);
    const char* begin = digits;
    int n = 0;
    if (zeroPad && *begin == '-') {
        out[n++] = L'-';
        ++begin;
    }
    for (int fill = width - length; fill > 0; --fill) out[n++] = zeroPad ? L'0' : L' ';
    return n + widen(out + n, begin, result.ptr);
}

int copyText(wchar_t* out, const wchar_t* text) {
    int n = 0;
    while (text[n] != L'\0') {
        out[n] = text[n];
        ++n;
    }
    return n;
}

}  // namespace quillon::fmt
