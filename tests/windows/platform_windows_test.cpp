// The platform layer on Windows calls the real Windows and C runtime
// functions; these tests pin what the library relies on from them, under
// Wine. (The POSIX stand-ins have their own tests; byte-exact file
// preservation is theirs, as Windows writes profiles its own way.)
#include <gtest/gtest.h>

#include <windows.h>

#include <clocale>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/platform.h"

namespace {

namespace platform = quillon::platform;

TEST(WindowsPlatform, ProfileValuesRoundTripThroughTheSettingsFile) {
    wchar_t folder[MAX_PATH] = {}, path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"qln", 0, path);
    EXPECT_EQ(platform::profileInt(L"units", L"distUnit", 7, path), 7) << "empty file: the fallback";
    ASSERT_TRUE(platform::writeProfileString(L"units", L"distUnit", L"3", path));
    ASSERT_TRUE(platform::writeProfileString(L"units", L"latLonStyle", L" -12abc", path));
    EXPECT_EQ(platform::profileInt(L"units", L"distUnit", 7, path), 3);
    EXPECT_EQ(platform::profileInt(L"UNITS", L"DISTUNIT", 7, path), 3) << "section and key ignore case";
    EXPECT_EQ(platform::profileInt(L"units", L"latLonStyle", 7, path), -12);
    EXPECT_EQ(platform::profileInt(L"units", L"missing", 7, path), 7);
    DeleteFileW(path);
}

TEST(WindowsPlatform, NumbersReadWithAPointWhateverTheProcessLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    // ',' is the decimal separator there: plain _wtof stops at the point.
    ASSERT_NE(std::setlocale(LC_ALL, "German"), nullptr);
    EXPECT_EQ(_wtof(L"1234.5"), 1234.0) << "the locale did not take effect";
    EXPECT_EQ(platform::wideToDouble(L"1234.5"), 1234.5);
    EXPECT_EQ(platform::wideToDouble(L"  -0.25e2xyz"), -25.0);
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(platform::wideToDouble(L"abc"), 0.0);
    EXPECT_EQ(platform::wideToInt(L" 42km"), 42);
    EXPECT_EQ(platform::wideToLong(L"-7"), -7L);
}

TEST(WindowsPlatform, SplitPathAndUpperCase) {
    wchar_t drive[260], dir[260], name[260], ext[260];
    platform::splitPath(L"C:\\logs\\day 1\\rover.07.nmea", drive, dir, name, ext);
    EXPECT_EQ(std::wstring(drive) + L"|" + dir + L"|" + name + L"|" + ext, L"C:|\\logs\\day 1\\|rover.07|.nmea");
    wchar_t text[] = L"gpgga \u00e9x1";
    platform::upperCase(text);
    EXPECT_EQ(std::wstring(text), L"GPGGA \u00e9X1");
}

TEST(WindowsPlatform, ClocksAndTheSwitchToGmt) {
    const long first = platform::processClockMs();
    EXPECT_GE(first, 0);
    Sleep(30);
    EXPECT_GE(platform::processClockMs() - first, 20) << "clock() counts wall time on Windows";
    const long long now = static_cast<long long>(std::time(nullptr));
    EXPECT_LE(std::llabs(platform::systemTimeSeconds() - now), 2);
    platform::switchTimeZoneToGmt();
    EXPECT_EQ(_timezone, 0L);
    std::time_t epochDay = 86400;
    EXPECT_EQ(std::localtime(&epochDay)->tm_hour, 0) << "local time is GMT after the switch";
}

}  // namespace
