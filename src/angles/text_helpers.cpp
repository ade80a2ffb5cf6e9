// Two small text helpers used around the angle texts.
#include <cstring>
#include <cwchar>

#include "text/digits.h"
#include "quillon/cpp/angles.hpp"

namespace quillon {
namespace {

// The text is moved, not copied, so out may be the text's own buffer.
void moveChars(wchar_t* out, const wchar_t* text, std::size_t count) { std::wmemmove(out, text, count); }
void moveChars(char* out, const char* text, std::size_t count) { std::memmove(out, text, count); }

// "abc" to width 5 -> "  abc"; to width 2 -> "ab".
template <class CharT>
void padText(std::basic_string_view<CharT> text, int width, CharT* out) {
    const std::size_t field = width < 0 ? 0 : static_cast<std::size_t>(width);
    const std::size_t kept = text.size() < field ? text.size() : field;
    const std::size_t blanks = field - kept;
    moveChars(out + blanks, text.data(), kept);
    for (std::size_t i = 0; i < blanks; ++i) out[i] = CharT(' ');
    out[field] = CharT(0);
}

// " a b\tc " -> "abc". Writing never overtakes reading, so out may be the
// text's own buffer.
template <class CharT>
std::size_t stripText(std::basic_string_view<CharT> text, CharT* out) {
    std::size_t written = 0;
    for (const CharT c : text) {
        if (!isSpace(digits::codeOf(c))) out[written++] = c;
    }
    out[written] = CharT(0);
    return written;
}

}  // namespace

void pad(std::wstring_view text, int width, wchar_t* out) noexcept { padText(text, width, out); }

void pad(std::string_view text, int width, char* out) noexcept { padText(text, width, out); }

std::size_t strip_blanks(std::wstring_view text, wchar_t* out) noexcept { return stripText(text, out); }

std::size_t strip_blanks(std::string_view text, char* out) noexcept { return stripText(text, out); }

}  // namespace quillon
