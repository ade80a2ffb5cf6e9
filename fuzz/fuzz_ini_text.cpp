// The private-profile text editor (platform/ini_text.h) on any text,
// as bytes (UTF-8 or anything else) and as UTF-16 code units after a
// byte-order mark: reading never goes outside the text, a written key reads
// back with its value, another key reads as before, and the write changes
// the text in one place only.
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "ini_properties.h"
#include "platform/ini_text.h"

namespace {

using quillon::ini::Text;

template <class Ch>
Text<Ch> unitsFrom(const std::string& bytes) {
    Text<Ch> out;
    if (sizeof(Ch) == 1) {
        for (char c : bytes) out += Ch(static_cast<unsigned char>(c));
    } else {
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            out += Ch(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    }
    return out;
}

template <class Ch>
Text<Ch> ascii(const std::string& text) {
    return Text<Ch>(text.begin(), text.end());
}

template <class Ch>
void exercise(fuzz::Input& in, bool otherSectionIsSame) {
    const std::size_t unit = sizeof(Ch);
    const std::size_t sectionLength = in.byte() % 12;
    const std::size_t keyLength = in.byte() % 12;
    const std::size_t otherKeyLength = in.byte() % 12;
    const std::size_t otherSectionLength = in.byte() % 12;
    const Text<Ch> value = ascii<Ch>(std::to_string(in.int32()));
    const Text<Ch> section = fuzz::usableName(unitsFrom<Ch>(in.bytes(sectionLength * unit)), "s");
    const Text<Ch> key = fuzz::usableName(unitsFrom<Ch>(in.bytes(keyLength * unit)), "k");
    const Text<Ch> otherKey = fuzz::usableName(unitsFrom<Ch>(in.bytes(otherKeyLength * unit)), "o");
    const Text<Ch> otherSection =
        otherSectionIsSame ? section : fuzz::usableName(unitsFrom<Ch>(in.bytes(otherSectionLength * unit)), "t");
    // A UTF-16 file starts with its byte-order mark, which the reader steps over.
    const std::size_t start = unit == 1 ? 0 : 1;
    Text<Ch> text = (unit == 1 ? Text<Ch>() : Text<Ch>(1, Ch(0xFEFF))) + unitsFrom<Ch>(in.rest());
    const Text<Ch> before = text;

    const auto otherBefore = quillon::ini::readValue(text, start, otherSection, otherKey);
    quillon::ini::writeValue(&text, start, section, key, value);
    const auto readBack = quillon::ini::readValue(text, start, section, key);
    FUZZ_CHECK(readBack && *readBack == value, "key %s in section %s: value %s did not read back from %s (written "
               "into %s)", fuzz::showUnits(key).c_str(), fuzz::showUnits(section).c_str(),
               fuzz::showUnits(value).c_str(), fuzz::showUnits(text).c_str(), fuzz::showUnits(before).c_str());
    const bool sameKey = quillon::ini::sameName(otherKey, 0, otherKey.size(), key) &&
                         quillon::ini::sameName(otherSection, 0, otherSection.size(), section);
    if (!sameKey) {
        const auto otherAfter = quillon::ini::readValue(text, start, otherSection, otherKey);
        FUZZ_CHECK(otherBefore == otherAfter, "writing key %s of %s changed key %s of %s: %s became %s",
                   fuzz::showUnits(key).c_str(), fuzz::showUnits(section).c_str(), fuzz::showUnits(otherKey).c_str(),
                   fuzz::showUnits(otherSection).c_str(), fuzz::showUnits(before).c_str(),
                   fuzz::showUnits(text).c_str());
    }
    const std::size_t bound = section.size() + key.size() + value.size() + 3 + 3 * 2;
    fuzz::checkOneLocalEdit(before, text, bound);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::uint8_t flags = in.byte();
    if (flags & 1)
        exercise<char16_t>(in, (flags & 2) != 0);
    else
        exercise<char>(in, (flags & 2) != 0);
    return 0;
}
