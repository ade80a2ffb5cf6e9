// Reading and writing the digits of the library's fixed-layout texts in either
// character type: UTF-8 (char) for the C++ API, wide text for the hosts.
// Everything that matters here is ASCII, so a character's code is all a
// reader needs and a digit is written by adding to '0'.
#ifndef QUILLON_TEXT_DIGITS_H
#define QUILLON_TEXT_DIGITS_H

#include <charconv>
#include <cstddef>

#include "text/chars.h"

namespace quillon::digits {

// The character's code for the classic-locale classes of text/chars.h; bytes
// of UTF-8 sequences are 0x80 and above and belong to no class.
inline wchar_t codeOf(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }
inline wchar_t codeOf(wchar_t c) { return c; }

inline bool isDigitOrPoint(wchar_t c) { return isDigit(c) || c == L'.'; }

// The value of a run of digits and points as the runtime's text-to-double
// conversion reads it: its longest decimal prefix ("12.5.3" is 12.5, "5." is
// 5, ".5" is 0.5), 0.0 when it has no digit before a second point ("." and
// "..5"). The run is ASCII by construction; from_chars keeps it independent
// of the process locale.
inline double decimalValue(const char* run, std::size_t length) {
    double value = 0.0;
    std::from_chars(run, run + length, value, std::chars_format::fixed);
    return value;
}

// The value of a run of at most 9 digits.
inline int digitsValue(const char* run, std::size_t length) {
    int value = 0;
    for (std::size_t i = 0; i < length; ++i) value = value * 10 + (run[i] - '0');
    return value;
}

// value's decimal digits, at least width of them, fill before them:
// 7, 3, ' ' -> "  7"; 5, 2, '0' -> "05". Returns the end of what it wrote.
template <class CharT>
CharT* putUnsigned(CharT* out, unsigned value, int width, CharT fill) {
    CharT reversed[10];
    int count = 0;
    do {
        reversed[count++] = static_cast<CharT>('0' + value % 10);
        value /= 10;
    } while (value != 0);
    for (int i = count; i < width; ++i) *out++ = fill;
    while (count > 0) *out++ = reversed[--count];
    return out;
}

// The buffer convention of the C++ API for texts of at most maxLength
// characters: write(text) writes one with its terminating zero into a
// buffer of maxLength + 1 and returns its length. A caller's buffer that
// large is written directly; a smaller one gets the text when it fits, an
// empty text when not (and nothing when size is 0). Returns the length
// written.
template <std::size_t maxLength, class CharT, class Write>
std::size_t writeFitted(CharT* out, std::size_t size, Write write) {
    if (size > maxLength) return write(out);
    CharT text[maxLength + 1];
    const std::size_t length = write(text);
    if (length >= size) {
        if (size > 0) out[0] = CharT(0);
        return 0;
    }
    for (std::size_t i = 0; i <= length; ++i) out[i] = text[i];
    return length;
}

}  // namespace quillon::digits

#endif
