// Conversions between the library's wide text (UTF-32 here) and the byte
// forms of files and paths. Code points that cannot be encoded are written
// as U+FFFD; nothing here fails.
#ifndef QUILLON_PLATFORM_UTF_H
#define QUILLON_PLATFORM_UTF_H

#include <string>

namespace quillon::utf {

std::string toUtf8(const wchar_t* text);
std::u16string toUtf16(const wchar_t* text);
// Bytes of a UTF-16LE file (byte-order mark included) as code units; an odd
// last byte is left out (the caller keeps it).
std::u16string bytesToUtf16le(const std::string& bytes);
std::string utf16leToBytes(const std::u16string& units);

}  // namespace quillon::utf

#endif
