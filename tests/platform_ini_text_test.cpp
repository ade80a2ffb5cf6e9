// Editing the text of a settings file: one key changes, every other byte of
// the file stays as the host wrote it.
#include <gtest/gtest.h>

#include <string>

#include "platform/ini_text.h"

namespace {

using quillon::ini::readValue;
using quillon::ini::writeValue;

std::string edited(std::string text, const std::string& section, const std::string& key, const std::string& value) {
    writeValue(&text, 0, section, key, value);
    return text;
}

struct EditCase {
    const char* name;
    const char* before;
    const char* after;  // after setting [units] distUnits=4
};

TEST(IniText, WritingOneKeyKeepsEverythingElse) {
    const EditCase cases[] = {
        {"empty file", "", "[units]\r\ndistUnits=4\r\n"},
        {"replaces the value, keeps the file's spelling of the name",
         "[units]\ndistUnits=1\nwpUnits=2\n", "[units]\ndistUnits=4\nwpUnits=2\n"},
        {"case-insensitive names, blanks around them", "[ UNITS ]\r\n  DISTUNITS  =  1  \r\n",
         "[ UNITS ]\r\nDISTUNITS=4\r\n"},
        {"appends after the section's last line, before blank lines",
         "[units]\nwpUnits=2\n\n[other]\nx=1\n", "[units]\nwpUnits=2\ndistUnits=4\n\n[other]\nx=1\n"},
        {"a missing section goes at the end; the last line gets its end",
         "; comment\n[other]\nx=1", "; comment\n[other]\nx=1\n[units]\ndistUnits=4\n"},
        {"key in a later section of the same name", "[units]\na=1\n[x]\n[units]\ndistUnits=1\n",
         "[units]\na=1\n[x]\n[units]\ndistUnits=4\n"},
        {"commented-out key is not the key", "[units]\n;distUnits=1\n", "[units]\n;distUnits=1\ndistUnits=4\n"},
        {"same key in another section is left alone", "[other]\ndistUnits=1\n[units]\n",
         "[other]\ndistUnits=1\n[units]\ndistUnits=4\n"},
        {"section without line end at the end of the file", "[units]", "[units]\r\ndistUnits=4\r\n"},
        {"CR CR LF endings keep their extra CR", "[units]\r\r\ndistUnits=1\r\r\n", "[units]\r\r\ndistUnits=4\r\r\n"},
        {"bytes that are not UTF-8 pass through", "\xff\xfe\x80junk\n[units]\ndistUnits=\xc3\n",
         "\xff\xfe\x80junk\n[units]\ndistUnits=4\n"},
    };
    for (const EditCase& c : cases) {
        EXPECT_EQ(edited(c.before, "units", "distUnits", "4"), c.after) << c.name;
    }
}

TEST(IniText, NulBytesAndUnicodeAreKept) {
    std::string before("[host]\nname=caf\xc3\xa9\0x\n[units]\ndistUnits=1\n", 39);
    std::string after = edited(before, "units", "distUnits", "2");
    std::string expected = before;
    expected.replace(expected.find("distUnits=1"), 11, "distUnits=2");
    EXPECT_EQ(after, expected);
}

struct ReadCase {
    const char* text;
    const char* value;  // nullptr: not found
};

TEST(IniText, ReadingFindsTheFirstMatchingKey) {
    const ReadCase cases[] = {
        {"[units]\ndistUnits=3\n", "3"},
        {"[Units]\r\n DistUnits = 3 \r\n", "3"},
        {"[units]\ndistUnits=\"7\"\n", "7"},
        {"[units]\ndistUnits\n", ""},
        {"[units]\ndistUnits=\n", ""},
        {"[unit]\ndistUnits=3\n", nullptr},
        {"distUnits=3\n[units]\n", nullptr},
        {"[units]\ndistUnits=1\ndistUnits=2\n", "1"},
        {"", nullptr},
        {"[units", nullptr},
    };
    for (const ReadCase& c : cases) {
        auto value = readValue(std::string(c.text), 0, std::string("units"), std::string("distUnits"));
        if (c.value == nullptr) {
            EXPECT_FALSE(value.has_value()) << c.text;
        } else {
            ASSERT_TRUE(value.has_value()) << c.text;
            EXPECT_EQ(*value, c.value) << c.text;
        }
    }
}

TEST(IniText, Utf16TextIsEditedInCodeUnits) {
    std::u16string text = u"\xFEFF[units]\r\ndistUnits=1\r\n[h]\r\nname=\x4E2D\r\n";
    writeValue(&text, 1, std::u16string(u"units"), std::u16string(u"distUnits"), std::u16string(u"3"));
    EXPECT_EQ(text, u"\xFEFF[units]\r\ndistUnits=3\r\n[h]\r\nname=\x4E2D\r\n");
}

}  // namespace
