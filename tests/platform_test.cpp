// The platform layer: wide-text conversions of the C runtime in the classic
// locale, and editing the text of a settings file (one key changes, every
// other byte stays as the host wrote it).
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <utility>

#include "platform/ini_text.h"
#include "platform/platform.h"

namespace conversions {
namespace {

using namespace quillon::platform;

TEST(WideConversions, ToDoubleReadsTheLongestDecimalPrefix) {
    const std::pair<const wchar_t*, double> cases[] = {
        {L"12.5", 12.5},   {L"  -3.25xyz", -3.25}, {L"+.5", 0.5},       {L"1.2.3", 1.2},
        {L".", 0.0},       {L"", 0.0},             {L"abc", 0.0},       {L"1e3", 1000.0},
        {L"1e", 1.0},      {L"1e+", 1.0},          {L"2E-2", 0.02},     {L"0.1", 0.1},
        {L"1e999", HUGE_VAL}, {L"1e-999", 0.0},    {L"\t\n7", 7.0},     {L"--1", 0.0},
        {L"123456789012", 123456789012.0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(wideToDouble(text), value) << text;
}

TEST(WideConversions, ToDoubleIgnoresTheProcessLocale) {
    // A locale with a decimal comma, where one exists on this machine.
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
    for (const char* name : names)
        if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
    EXPECT_EQ(wideToDouble(L"1.5"), 1.5);
    EXPECT_EQ(wideToDouble(L"1,5"), 1.0);
    std::setlocale(LC_NUMERIC, "C");
}

TEST(WideConversions, ToDoubleIsCorrectlyRounded) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        double value = std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 80) - 60);
        char narrow[64];
        std::snprintf(narrow, sizeof narrow, "%.17g", value);
        std::wstring wide(narrow, narrow + std::char_traits<char>::length(narrow));
        ASSERT_EQ(wideToDouble(wide.c_str()), value) << narrow;
    }
}

TEST(WideConversions, ToIntReadsLeadingDigitsAndSaturates) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L" 42abc", 42}, {L"-17", -17}, {L"x1", 0}, {L"99999999999", 2147483647}, {L"-99999999999", -2147483647 - 1}};
    for (const auto& [text, value] : cases) EXPECT_EQ(wideToInt(text), value) << text;
    EXPECT_EQ(wideToLong(L"2021"), 2021L);
}

TEST(WideConversions, SplitPathLikeTheRuntime) {
    const std::wstring tooLongName = L"c:\\d\\" + std::wstring(256, L'n') + L".x";
    const std::wstring cases[][2] = {  // path, then drive|dir|name|ext
        {L"C:\\logs\\0012.dat", L"C:|\\logs\\|0012|.dat"}, {L"/home/a/b.c.d", L"|/home/a/|b.c|.d"},
        {L"name", L"||name|"}, {L"dir.x/name", L"|dir.x/|name|"}, {L".hidden", L"|||.hidden"}, {L"D:", L"D:|||"},
        {L"", L"|||"}, {tooLongName, L"|||"},  // a name past the runtime's limit
    };
    for (const auto& [path, parts] : cases) {
        wchar_t drive[260], dir[260], name[260], ext[260];
        splitPath(path.c_str(), drive, dir, name, ext);
        EXPECT_EQ(std::wstring(drive) + L"|" + dir + L"|" + name + L"|" + ext, parts) << ::testing::PrintToString(path);
    }
}

TEST(WideConversions, UpperCaseTouchesOnlyAsciiLetters) {
    wchar_t text[] = L"ab\x00e9z1-Y";
    upperCase(text);
    EXPECT_STREQ(text, L"AB\x00e9Z1-Y");
}

}  // namespace
}  // namespace conversions

namespace ini {
namespace {

using quillon::ini::readValue;
using quillon::ini::writeValue;
using namespace std::string_literals;

std::string edited(std::string text, const std::string& section, const std::string& key, const std::string& value) {
    writeValue(&text, 0, section, key, value);
    return text;
}

TEST(IniText, WritingOneKeyKeepsEverythingElse) {
    const struct {
        const char* name;
        std::string before, after;  // after setting [units] distUnits=4
    } cases[] = {
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
        {"a last line ended by a lone CR gets its line end first", "[units]\na=1\r", "[units]\na=1\r\ndistUnits=4\n"},
        {"bytes that are not UTF-8 pass through", "\xff\xfe\x80junk\n[units]\ndistUnits=\xc3\n",
         "\xff\xfe\x80junk\n[units]\ndistUnits=4\n"},
        {"NUL bytes and Unicode are kept, a last line keeps its missing end",
         "[host]\nname=caf\xc3\xa9\0x\n[units]\ndistUnits=1"s, "[host]\nname=caf\xc3\xa9\0x\n[units]\ndistUnits=4"s},
    };
    for (const auto& c : cases) EXPECT_EQ(edited(c.before, "units", "distUnits", "4"), c.after) << c.name;
}

TEST(IniText, ReadingFindsTheFirstMatchingKey) {
    const std::pair<const char*, const char*> cases[] = {  // text, value (nullptr: not found)
        {"[units]\ndistUnits=3\n", "3"}, {"[Units]\r\n DistUnits = 3 \r\n", "3"}, {"[units]\ndistUnits=\"7\"\n", "7"},
        {"[units]\ndistUnits\n", ""}, {"[units]\ndistUnits=\n", ""}, {"[unit]\ndistUnits=3\n", nullptr},
        {"distUnits=3\n[units]\n", nullptr}, {"[units]\ndistUnits=1\ndistUnits=2\n", "1"}, {"", nullptr},
        {"[units", nullptr},
    };
    for (const auto& [text, expected] : cases) {
        auto value = readValue(std::string(text), 0, std::string("units"), std::string("distUnits"));
        EXPECT_EQ(value.value_or("(none)"), expected ? expected : "(none)") << text;
    }
}

TEST(IniText, Utf16TextIsEditedInCodeUnits) {
    std::u16string text = u"\xFEFF[units]\r\ndistUnits=1\r\n[h]\r\nname=\x4E2D\r\n";
    writeValue(&text, 1, std::u16string(u"units"), std::u16string(u"distUnits"), std::u16string(u"3"));
    EXPECT_EQ(text, u"\xFEFF[units]\r\ndistUnits=3\r\n[h]\r\nname=\x4E2D\r\n");
}

}  // namespace
}  // namespace ini
