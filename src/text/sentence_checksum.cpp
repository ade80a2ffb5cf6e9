// The two-digit sentence checksum in the manner of NMEA 0183: the
// exclusive-or of the characters between the start character and the
// asterisk, reduced modulo 255.
#include <cwchar>

#include "text/chars.h"
#include "quillon/sentences.h"

namespace {

// The exclusive-or of the UTF-16 code units of one character, so that a
// character beyond U+FFFF (one wchar_t where wchar_t is 32 bits wide) counts
// as the surrogate pair a 16-bit wchar_t platform would hold, and both give
// the same checksum for the same text.
unsigned int codeUnitsXor(wchar_t c) {
    const auto code = static_cast<unsigned int>(c);
    if (code < 0x10000u || code > 0x10FFFFu) return code;
    const unsigned int offset = code - 0x10000u;
    const unsigned int high = 0xD800u + (offset >> 10);
    const unsigned int low = 0xDC00u + (offset & 0x3FFu);
    return high ^ low;
}

// Checksum of the characters in [begin, end).
unsigned int checksumOf(const wchar_t* begin, const wchar_t* end) {
    unsigned int x = 0;
    for (const wchar_t* c = begin; c < end; ++c) x ^= codeUnitsXor(*c);
    return x % 255u;
}

int hexDigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// Reads a number as the scan format "%x" does into an unsigned int that
// starts at 0: white space skipped, an optional sign, an optional "0x" or
// "0X", then every hexadecimal digit that follows (either case); the value
// wraps modulo 2^32 and a "-" negates it modulo 2^32. Without digits the
// value stays 0. Stops at the first other character, so the "\r\n" after
// the checksum ends the number.
unsigned int scanHex(const wchar_t* text) {
    while (quillon::isSpace(*text)) ++text;
    bool negative = false;
    if (*text == L'+' || *text == L'-') negative = *text++ == L'-';
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) text += 2;
    unsigned int value = 0;
    for (int digit; (digit = hexDigitValue(*text)) >= 0; ++text) value = value * 16u + unsigned(digit);
    return negative ? 0u - value : value;
}

}  // namespace

int checkSum(wchar_t* sentence) {
    const std::size_t n = std::wcslen(sentence);
    const unsigned int value = n > 1 ? checksumOf(sentence + 1, sentence + n) : 0u;
    // "*%02X\r\n": value 0x0B gives "*0B\r\n".
    static const wchar_t kDigits[] = L"0123456789ABCDEF";
    wchar_t* tail = sentence + n;
    tail[0] = L'*';
    tail[1] = kDigits[value >> 4];
    tail[2] = kDigits[value & 0xFu];
    tail[3] = L'\r';
    tail[4] = L'\n';
    tail[5] = L'\0';
    return 4;
}

int checkCheckSum(const wchar_t* sentence) {
    if (sentence == nullptr) return 0;
    const std::size_t n = std::wcslen(sentence);
    if (n <= 1) return 0;
    std::size_t star = n - 1;
    while (star >= 1 && sentence[star] != L'*') --star;
    if (star == 0) return 0;
    if (sentence[0] != L'$') return 0;
    return scanHex(sentence + star + 1) == checksumOf(sentence + 1, sentence + star) ? 1 : 0;
}
