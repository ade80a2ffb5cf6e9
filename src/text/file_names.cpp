// Data-file names: the clean-up of a proposed name, and the name part of a
// path with its numeric order, so that "9.dat" comes before "10.dat".
#include <quillon/cpp/sentences.hpp>
#include <quillon/cpp/text.hpp>

#include "platform/platform.h"

namespace quillon {
namespace {

template <class Char>
bool removedFromName(Char c) {
    switch (c) {
    case ' ': case '"': case ',': case '/': case ':': case ';': case '=': case '[': case '\\': case '}':
        return true;
    default:
        return false;
    }
}

// The character of UTF-8 text that starts at text[0] (n > 0 bytes left): a
// lead byte and the continuation bytes after it, at most three, so that a
// character is never cut in two. Returns the wide code units it takes (two
// for a four-byte character where wchar_t has 16 bits) and its bytes in
// *bytes. A byte that starts no character counts as one of its own.
std::size_t utf8Character(const char* text, std::size_t n, std::size_t* bytes) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t expected = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : lead < 0xF8 ? 4 : 1;
    std::size_t length = 1;
    while (length < expected && length < n && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
    *bytes = length;
    return sizeof(wchar_t) == 2 && length == 4 ? 2 : 1;
}

// The platform's path splitting holds a name part of at most 255 wide
// characters; a longer one leaves the whole path split into nothing.
constexpr std::size_t kMaxNamePart = 255;

std::size_t wideLength(std::wstring_view text) { return text.size(); }
std::size_t wideLength(std::string_view text) { return decode_utf8(text, nullptr, 0); }

// The drive: the first character and the ":" after it.
std::size_t driveLength(std::wstring_view path) { return path.size() >= 2 && path[1] == L':' ? 2 : 0; }
std::size_t driveLength(std::string_view path) {
    // The first character takes at most four bytes, and ":" is never part of one.
    const std::size_t colon = path.find(':', 1);
    return colon <= 4 && wideLength(path.substr(0, colon)) == 1 ? colon + 1 : 0;
}

// What the runtime's path splitting yields as the file name: no drive, no
// directory (up to the last "\" or "/"), no extension (from the last "."
// after it).
template <class Char>
std::basic_string_view<Char> namePart(std::basic_string_view<Char> path) {
    path.remove_prefix(driveLength(path));
    static constexpr Char kSeparators[] = {Char('\\'), Char('/'), Char('\0')};
    const std::size_t separator = path.find_last_of(kSeparators);
    if (separator != path.npos) path.remove_prefix(separator + 1);
    const std::size_t dot = path.rfind(Char('.'));
    if (dot != path.npos) path = path.substr(0, dot);
    return wideLength(path) > kMaxNamePart ? std::basic_string_view<Char>() : path;
}

// A name part as the zero-terminated wide text the runtime's number reading
// (_wtoi) takes: the platform's own routine reads it, so both forms agree
// with the hosts on every platform.
struct WideName {
    wchar_t text[kMaxNamePart + 1];
    std::size_t length;
    explicit WideName(std::wstring_view name) : length(name.copy(text, kMaxNamePart)) { text[length] = L'\0'; }
    explicit WideName(std::string_view name) : length(decode_utf8(name, text, kMaxNamePart)) {
        text[length] = L'\0';
    }
};

// The leading number of a name, then the number from its fifth character on.
struct NumericKeys {
    int leading;
    int fromFifth;
};

constexpr std::size_t kSecondKeyStart = 4;

template <class Char>
NumericKeys numericKeys(std::basic_string_view<Char> path) {
    const WideName name(namePart(path));
    return {platform::wideToInt(name.text),
            name.length > kSecondKeyStart ? platform::wideToInt(name.text + kSecondKeyStart) : 0};
}

template <class Char>
bool nameBefore(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    const NumericKeys mine = numericKeys(a);
    const NumericKeys theirs = numericKeys(b);
    if (mine.leading != theirs.leading) return mine.leading < theirs.leading;
    return mine.fromFifth < theirs.fromFifth;
}

}  // namespace

std::size_t clean_file_name(wchar_t* name, std::size_t length) noexcept {
    // The result is never longer than what it is read from, so it goes back
    // over the start of the name as it is read.
    // A surrogate pair is kept or dropped whole: half of one is no character.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < length && name[i] != L'.'; ++i) {
        if (removedFromName(name[i])) continue;
        const bool pair = sizeof(wchar_t) == 2 && i + 1 < length && (name[i] & 0xFC00) == 0xD800 &&
                          (name[i + 1] & 0xFC00) == 0xDC00;
        if (kept + (pair ? 2 : 1) > kMaxCleanFileName) break;
        name[kept++] = name[i];
        if (pair) name[kept++] = name[++i];
    }
    if (kept < length) name[kept] = L'\0';
    return kept;
}

std::size_t clean_file_name(char* name, std::size_t length) noexcept {
    std::size_t kept = 0;
    std::size_t units = 0;
    for (std::size_t i = 0; i < length && name[i] != '.';) {
        std::size_t bytes = 0;
        const std::size_t width = utf8Character(name + i, length - i, &bytes);
        if (bytes == 1 && removedFromName(name[i])) {
            ++i;
            continue;
        }
        if (units + width > kMaxCleanFileName) break;
        units += width;
        for (const std::size_t end = i + bytes; i < end;) name[kept++] = name[i++];
    }
    if (kept < length) name[kept] = '\0';
    return kept;
}

bool same_file_name(std::string_view a, std::string_view b) noexcept { return namePart(a) == namePart(b); }
bool same_file_name(std::wstring_view a, std::wstring_view b) noexcept { return namePart(a) == namePart(b); }

bool file_name_before(std::string_view a, std::string_view b) noexcept { return nameBefore(a, b); }
bool file_name_before(std::wstring_view a, std::wstring_view b) noexcept { return nameBefore(a, b); }

}  // namespace quillon
