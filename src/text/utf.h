// Conversions between the library's wide text (UTF-16 where wchar_t has 16
// bits, UTF-32 where it has 32) and UTF-8 or UTF-16 bytes. Nothing here
// fails: what cannot be encoded or decoded (a lone surrogate, a code point
// beyond U+10FFFF, a byte that starts no UTF-8 sequence) becomes U+FFFD.
#ifndef QUILLON_TEXT_UTF_H
#define QUILLON_TEXT_UTF_H

#include <string>
#include <string_view>

namespace quillon::utf {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view bytes);
std::u16string toUtf16(std::wstring_view text);
// Bytes of a UTF-16LE file (byte-order mark included) as code units; an odd
// last byte is left out (the caller keeps it).
std::u16string bytesToUtf16le(const std::string& bytes);
std::string utf16leToBytes(const std::u16string& units);

}  // namespace quillon::utf

#endif
