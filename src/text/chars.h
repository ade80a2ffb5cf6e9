// Character classes of the classic "C" locale on the character code,
// whatever the process locale: characters above the 8-bit range (and the
// upper half of it) belong to no class.
#ifndef QUILLON_TEXT_CHARS_H
#define QUILLON_TEXT_CHARS_H

namespace quillon {

// blank, tab, line feed, vertical tab, form feed, carriage return
constexpr bool isSpace(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r'); }
constexpr bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
constexpr bool isAlpha(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
constexpr wchar_t toUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? wchar_t(c - L'a' + L'A') : c; }

}  // namespace quillon

#endif
