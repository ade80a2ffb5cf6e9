// The two-digit sentence checksum in the manner of NMEA 0183: the
// exclusive-or of the characters between the start character and the
// asterisk, reduced modulo 255.
#include <quillon/cpp/sentences.hpp>

#include <cstdint>
#include <cstring>

#include "text/chars.h"

namespace quillon {
namespace {

// A byte counts as itself.
unsigned codeUnitsXor(char c) { return static_cast<unsigned char>(c); }

// The exclusive-or of the UTF-16 code units of one character, so that a
// character beyond U+FFFF (one wchar_t where wchar_t is 32 bits wide) counts
// as the surrogate pair a 16-bit wchar_t platform would hold, and both give
// the same checksum for the same text.
unsigned codeUnitsXor(wchar_t c) {
    const auto code = static_cast<unsigned>(c);
    if (code < 0x10000u || code > 0x10FFFFu) return code;
    const unsigned offset = code - 0x10000u;
    const unsigned high = 0xD800u + (offset >> 10);
    const unsigned low = 0xDC00u + (offset & 0x3FFu);
    return high ^ low;
}

template <class Char>
unsigned checksumOf(std::basic_string_view<Char> span) {
    unsigned x = 0;
    for (Char c : span) x ^= codeUnitsXor(c);
    return x % 255u;
}

// Bytes eight at a time: the exclusive-or of the words holds, in each byte
// lane, the exclusive-or of the bytes that fell in it, and folding the lanes
// together gives that of all of them, whatever the byte order. A log's
// sentences are checked at about a third of the cost of a byte loop.
unsigned checksumOf(std::string_view span) {
    const char* p = span.data();
    const std::size_t n = span.size();
    std::uint64_t lanes = 0;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, sizeof word);
        lanes ^= word;
    }
    lanes ^= lanes >> 32;
    lanes ^= lanes >> 16;
    lanes ^= lanes >> 8;
    unsigned x = unsigned(lanes & 0xFFu);
    for (; i < n; ++i) x ^= codeUnitsXor(p[i]);
    return x % 255u;
}

template <class Char>
int hexDigitValue(Char c) {
    if (c >= Char('0') && c <= Char('9')) return c - Char('0');
    if (c >= Char('a') && c <= Char('f')) return c - Char('a') + 10;
    if (c >= Char('A') && c <= Char('F')) return c - Char('A') + 10;
    return -1;
}

// Reads a number as the scan format "%x" does into an unsigned int that
// starts at 0: white space skipped, an optional sign, an optional "0x" or
// "0X", then every hexadecimal digit that follows (either case); the value
// wraps modulo 2^32 and a "-" negates it modulo 2^32. Without digits the
// value stays 0. Stops at the first other character, so the "\r\n" after
// the checksum ends the number.
template <class Char>
unsigned scanHex(std::basic_string_view<Char> text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isSpace(static_cast<wchar_t>(text[i]))) ++i;
    bool negative = false;
    if (i < n && (text[i] == Char('+') || text[i] == Char('-'))) negative = text[i++] == Char('-');
    if (i + 1 < n && text[i] == Char('0') && (text[i + 1] == Char('x') || text[i + 1] == Char('X'))) i += 2;
    unsigned value = 0;
    for (int digit; i < n && (digit = hexDigitValue(text[i])) >= 0; ++i) value = value * 16u + unsigned(digit);
    return negative ? 0u - value : value;
}

template <class Char>
bool checksumOk(std::basic_string_view<Char> sentence) {
    // The last asterisk ends the checksummed span; one at index 0 does not count.
    const std::size_t star = sentence.rfind(Char('*'));
    if (star == sentence.npos || star == 0 || sentence[0] != Char('$')) return false;
    return scanHex(sentence.substr(star + 1)) == checksumOf(sentence.substr(1, star - 1));
}

template <class Char>
std::size_t appendChecksum(Char* out, std::size_t length, std::size_t size) {
    if (size < 6 || length > size - 6) return 0;
    const unsigned value = length > 1 ? checksumOf(std::basic_string_view<Char>(out + 1, length - 1)) : 0u;
    // "*%02X\r\n": value 0x0B gives "*0B\r\n".
    static constexpr char kDigits[] = "0123456789ABCDEF";
    Char* tail = out + length;
    tail[0] = Char('*');
    tail[1] = Char(kDigits[value >> 4]);
    tail[2] = Char(kDigits[value & 0xFu]);
    tail[3] = Char('\r');
    tail[4] = Char('\n');
    tail[5] = Char('\0');
    return length + 5;
}

}  // namespace

unsigned checksum_of(std::string_view span) noexcept { return checksumOf(span); }
unsigned checksum_of(std::wstring_view span) noexcept { return checksumOf(span); }

bool checksum_ok(std::string_view sentence) noexcept { return checksumOk(sentence); }
bool checksum_ok(std::wstring_view sentence) noexcept { return checksumOk(sentence); }

std::size_t append_checksum(char* out, std::size_t length, std::size_t size) noexcept {
    return appendChecksum(out, length, size);
}
std::size_t append_checksum(wchar_t* out, std::size_t length, std::size_t size) noexcept {
    return appendChecksum(out, length, size);
}

}  // namespace quillon
