// Settings-file inputs the fuzzers found mishandled (fuzz/regressions/ keeps
// the inputs themselves): each case pins the behaviour the fix gave.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_text.h"

#if !defined(_WIN32)
#include "platform/platform.h"
#include "test_support.h"
#endif

namespace {

using quillon::ini::readValue;
using quillon::ini::writeValue;

// A file whose last line is the section header ended by a carriage return
// alone: the new key went onto that same line (a carriage return does not
// end a line), so it was lost.
TEST(IniTextFuzzRegressions, KeyAddedAfterALastLineEndingInALoneCarriageReturnReadsBack) {
    struct Case {
        const char* before;
        const char* after;
    };
    const Case cases[] = {
        {"[t\r", "[t\r\r\nk=0\r\n"},
        {"[t]\r\r", "[t]\r\r\r\nk=0\r\n"},
        {"[t]\na=1\r", "[t]\na=1\r\nk=0\n"},
    };
    for (const Case& c : cases) {
        std::string text = c.before;
        writeValue(&text, 0, std::string("t"), std::string("k"), std::string("0"));
        EXPECT_EQ(text, c.after) << "written into " << testing::PrintToString(std::string(c.before));
        EXPECT_EQ(readValue(text, 0, std::string("t"), std::string("k")), std::optional<std::string>("0"))
            << "written into " << testing::PrintToString(std::string(c.before));
        EXPECT_EQ(readValue(text, 0, std::string("t"), std::string("a")),
                  readValue(std::string(c.before), 0, std::string("t"), std::string("a")));
    }

    std::u16string units = u"\uFEFF[t\r";
    writeValue(&units, 1, std::u16string(u"t"), std::u16string(u"k"), std::u16string(u"0"));
    EXPECT_TRUE(units == u"\uFEFF[t\r\r\nk=0\r\n");
    EXPECT_EQ(readValue(units, 1, std::u16string(u"t"), std::u16string(u"k")), std::optional<std::u16string>(u"0"));
}

#if !defined(_WIN32)
TEST(ProfileFileFuzzRegressions, Utf16FileEndingInALoneCarriageReturnKeepsTheWrittenKey) {
    testing_support::TempDir dir;
    const std::string file = dir.file("s.ini");
    const std::wstring path = testing_support::widen(file);
    auto utf16 = [](const std::string& ascii) {
        std::string out = "\xff\xfe";
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    };
    testing_support::writeBytes(file, utf16("[units]\r"));
    ASSERT_TRUE(quillon::platform::writeProfileString(L"units", L"distUnits", L"3", path.c_str()));
    EXPECT_EQ(quillon::platform::profileInt(L"units", L"distUnits", -1, path.c_str()), 3);
    EXPECT_EQ(testing_support::readBytes(file), utf16("[units]\r\r\ndistUnits=3\r\n"));
}
#endif

}  // namespace
