/// @file
/// Conversions between UTF-8, the C++ API's text, and the wide text of the
/// flat interface and of Windows (UTF-16 where wchar_t has 16 bits, UTF-32
/// where it has 32).
#ifndef QUILLON_CPP_TEXT_HPP
#define QUILLON_CPP_TEXT_HPP

#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

/// Writes text as UTF-8 into out and returns the number of bytes the whole
/// text takes, with no terminating zero. Writes nothing when size is too
/// small, so a first call with size 0 measures. A lone surrogate, or a value
/// beyond U+10FFFF, is written as U+FFFD.
QUILLON_API std::size_t encode_utf8(std::wstring_view text, char* out, std::size_t size) noexcept;
/// Writes UTF-8 bytes as wide text into out and returns the number of wide
/// characters the whole text takes, with no terminating zero; writes nothing
/// when size is too small. Each byte that starts no well-formed sequence
/// (overlong forms and encoded surrogates included) becomes one U+FFFD.
QUILLON_API std::size_t decode_utf8(std::string_view utf8, wchar_t* out, std::size_t size) noexcept;

/// text as UTF-8: L"N51\u00B0" -> "N51\xC2\xB0".
inline std::string to_utf8(std::wstring_view text) {
    std::string out(encode_utf8(text, nullptr, 0), '\0');
    encode_utf8(text, out.data(), out.size());
    return out;
}

/// UTF-8 as wide text; malformed bytes become U+FFFD.
inline std::wstring to_wide(std::string_view utf8) {
    std::wstring out(decode_utf8(utf8, nullptr, 0), L'\0');
    decode_utf8(utf8, out.data(), out.size());
    return out;
}

}  // namespace quillon

#endif
