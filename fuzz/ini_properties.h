// What a write to a private-profile text must do to the text around it,
// shared by the in-memory and the on-disk settings harnesses.
#ifndef QUILLON_FUZZ_INI_PROPERTIES_H
#define QUILLON_FUZZ_INI_PROPERTIES_H

#include <cstdint>
#include <string>
#include <type_traits>

#include "fuzz_support.h"

namespace fuzz {

// Characters a section or key name of a private-profile file cannot hold:
// they would end the line, the name or the section header, or start a
// comment. Removing them (and blanks at the ends) keeps every name a caller
// can meaningfully write.
template <class Ch>
std::basic_string<Ch> usableName(std::basic_string<Ch> name, const char* fallback) {
    std::basic_string<Ch> kept;
    for (Ch c : name) {
        if (c != Ch(0) && c != Ch('\n') && c != Ch('\r') && c != Ch('=') && c != Ch('[') && c != Ch(']') &&
            c != Ch(';'))
            kept += c;
    }
    std::size_t b = 0, e = kept.size();
    while (b < e && (kept[b] == Ch(' ') || kept[b] == Ch('\t'))) ++b;
    while (e > b && (kept[e - 1] == Ch(' ') || kept[e - 1] == Ch('\t'))) --e;
    kept = kept.substr(b, e - b);
    if (kept.empty())
        for (const char* f = fallback; *f != '\0'; ++f) kept += Ch(*f);
    return kept;
}

// For messages: the units, anything outside printable ASCII as \x{..}.
template <class Ch>
std::string showUnits(const std::basic_string<Ch>& text) {
    return showCodeUnits(text.data(), text.size(), 400);
}

// The write changed one place of the text: what it removed lies within one
// line (it holds no line feed) and what it put there is no longer than a new
// section header, entry and three line ends.
template <class Ch>
void checkOneLocalEdit(const std::basic_string<Ch>& before, const std::basic_string<Ch>& after,
                       std::size_t insertedBound) {
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::size_t removed = before.size() - prefix - suffix;
    const std::size_t inserted = after.size() - prefix - suffix;
    for (std::size_t i = prefix; i < prefix + removed; ++i) {
        FUZZ_CHECK(before[i] != Ch('\n'), "a write removed a line end at %zu: %s became %s", i,
                   showUnits(before).c_str(), showUnits(after).c_str());
    }
    FUZZ_CHECK(inserted <= insertedBound, "a write inserted %zu units at %zu (at most %zu expected): %s became %s",
               inserted, prefix, insertedBound, showUnits(before).c_str(), showUnits(after).c_str());
}

}  // namespace fuzz

#endif
