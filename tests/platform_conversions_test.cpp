// Wide-text conversions of the C runtime, in the classic locale, and the
// process clock.
#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include "platform/platform.h"

namespace {

using namespace quillon::platform;

TEST(WideConversions, ToDoubleReadsTheLongestDecimalPrefix) {
    struct Case {
        const wchar_t* text;
        double value;
    };
    const Case cases[] = {
        {L"12.5", 12.5},   {L"  -3.25xyz", -3.25}, {L"+.5", 0.5},       {L"1.2.3", 1.2},
        {L".", 0.0},       {L"", 0.0},             {L"abc", 0.0},       {L"1e3", 1000.0},
        {L"1e", 1.0},      {L"1e+", 1.0},          {L"2E-2", 0.02},     {L"0.1", 0.1},
        {L"1e999", HUGE_VAL}, {L"1e-999", 0.0},    {L"\t\n7", 7.0},     {L"--1", 0.0},
        {L"123456789012", 123456789012.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wideToDouble(c.text), c.value) << ::testing::PrintToString(std::wstring(c.text));
    }
}

TEST(WideConversions, ToDoubleIgnoresTheProcessLocale) {
    // A locale with a decimal comma, where one exists on this machine.
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "C.UTF-8"};
    for (const char* name : names) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
    }
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
    EXPECT_EQ(wideToInt(L" 42abc"), 42);
    EXPECT_EQ(wideToInt(L"-17"), -17);
    EXPECT_EQ(wideToInt(L"x1"), 0);
    EXPECT_EQ(wideToInt(L"99999999999"), 2147483647);
    EXPECT_EQ(wideToInt(L"-99999999999"), -2147483647 - 1);
    EXPECT_EQ(wideToLong(L"2021"), 2021L);
}

TEST(WideConversions, SplitPathLikeTheRuntime) {
    const std::wstring tooLongName = L"c:\\d\\" + std::wstring(256, L'n') + L".x";
    struct Case {
        const wchar_t* path;
        const wchar_t* drive;
        const wchar_t* dir;
        const wchar_t* name;
        const wchar_t* ext;
    };
    const Case cases[] = {
        {L"C:\\logs\\0012.dat", L"C:", L"\\logs\\", L"0012", L".dat"},
        {L"/home/a/b.c.d", L"", L"/home/a/", L"b.c", L".d"},
        {L"name", L"", L"", L"name", L""},
        {L"dir.x/name", L"", L"dir.x/", L"name", L""},
        {L".hidden", L"", L"", L"", L".hidden"},
        {L"D:", L"D:", L"", L"", L""},
        {L"", L"", L"", L"", L""},
        {tooLongName.c_str(), L"", L"", L"", L""},  // a name past the runtime's limit
    };
    for (const Case& c : cases) {
        wchar_t drive[260], dir[260], name[260], ext[260];
        splitPath(c.path, drive, dir, name, ext);
        EXPECT_STREQ(drive, c.drive) << ::testing::PrintToString(std::wstring(c.path));
        EXPECT_STREQ(dir, c.dir) << ::testing::PrintToString(std::wstring(c.path));
        EXPECT_STREQ(name, c.name) << ::testing::PrintToString(std::wstring(c.path));
        EXPECT_STREQ(ext, c.ext) << ::testing::PrintToString(std::wstring(c.path));
    }
}

TEST(WideConversions, UpperCaseTouchesOnlyAsciiLetters) {
    wchar_t text[] = L"ab\x00e9z1-Y";
    upperCase(text);
    EXPECT_STREQ(text, L"AB\x00e9Z1-Y");
}

TEST(ProcessClock, CountsWallClockTimeWhileTheProcessSleeps) {
    long before = processClockMs();
    ASSERT_GE(before, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    long elapsed = processClockMs() - before;
    EXPECT_GE(elapsed, 290) << "a CPU-time clock would stand still here";
    EXPECT_LT(elapsed, 5000);
    EXPECT_GT(systemTimeSeconds(), 1700000000);
}

}  // namespace
