// checkDosFileName on any name, in place in a buffer of exactly the name's
// size: the result is the name up to its first "." without the ten removed
// characters, cut to 151 characters, and nothing past the result's
// terminator (up to the old end) is written.
#include <cwchar>

#include "fuzz_support.h"
#include "quillon/sentences.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::vector<wchar_t> chars = fuzz::wideText(in);
    fuzz::ExactText name = fuzz::exactCopy(chars);

    std::wstring expected;
    for (std::size_t i = 0; i < name.length && chars[i] != L'.'; ++i) {
        if (std::wcschr(L" \",/:;=[\\}", chars[i]) == nullptr && expected.size() < 151) expected += chars[i];
    }
    const int result = checkDosFileName(name.get());
    const std::size_t length = std::wcslen(name.get());
    const std::string resultShown = fuzz::show(name.get(), length);
    FUZZ_CHECK(name.get() == expected, "name %s became %s", SHOWN(name), resultShown.c_str());
    FUZZ_CHECK(result == (expected.empty() ? 0 : 1), "name %s: result %d for %s", SHOWN(name), result,
               resultShown.c_str());
    for (std::size_t i = length + 1; i < chars.size(); ++i) {
        FUZZ_CHECK(name.get()[i] == chars[i], "name %s: character %zu past the result was changed", SHOWN(name), i);
    }
    return 0;
}
