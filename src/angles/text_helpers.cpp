// Two small text helpers hosts use around the angle texts.
#include <cwchar>

#include "text/chars.h"
#include "quillon/angles.h"

// "abc" to width 5 -> "  abc"; to width 2 -> "ab". The text is moved, not
// copied, so out may be the same buffer as text.
void pad(const wchar_t* text, int width, wchar_t* out) {
    if (width < 0) width = 0;
    const std::size_t length = std::wcslen(text);
    const std::size_t field = static_cast<std::size_t>(width);
    const std::size_t kept = length < field ? length : field;
    const std::size_t blanks = field - kept;
    std::wmemmove(out + blanks, text, kept);
    for (std::size_t i = 0; i < blanks; ++i) out[i] = L' ';
    out[field] = L'\0';
}

// " a b\tc " -> "abc". Writing never overtakes reading, so out may be text.
void stripTCHARs(wchar_t* out, const wchar_t* text) {
    std::size_t written = 0;
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        if (!quillon::isSpace(*p)) out[written++] = *p;
    }
    out[written] = L'\0';
}
