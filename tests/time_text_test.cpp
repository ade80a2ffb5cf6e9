// Date-time text: the month-first layout, lenient reading, round trips and
// equality with swprintf of the template.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>
#include <random>
#include <string>

#include "quillon/timescale.h"

namespace {

std::string narrow(const std::wstring& text) { return testing::PrintToString(text); }

std::wstring timeText(double dos, int* length = nullptr) {
    wchar_t out[20];
    std::wmemset(out, L'#', 20);
    const int n = timeToStr(out, dos);
    if (length != nullptr) *length = n;
    return std::wstring(out, std::wcslen(out));
}

TEST(TimeText, WritesMonthFirstWithSecondsTruncatedToTenths) {
    struct Case {
        double dos;
        const wchar_t* expected;
    } cases[] = {
        {1626354762.0, L"07-15-21 13:12:42.0"},
        {59.99, L"01-01-70 00:00:59.9"},  // truncated, never rounded up to 60.0
        {0.0, L""},
        {1.0, L"01-01-70 00:00:01.0"},
        {951782400.25, L"02-29-00 00:00:00.2"},
        {1626393600.0 - 1e-5, L"07-15-21 23:59:59.9"},  // microseconds before midnight
        {4102444799.95, L"12-31-99 23:59:59.9"},        // 2099
        {-1.0, L"12-31-69 -1:59:59.0"},                 // before 1970: negative hours
        {253402300799.0, L"12-31-99 23:59:59.0"},       // 9999
    };
    for (const auto& c : cases) {
        int length = -1;
        EXPECT_EQ(timeText(c.dos, &length), c.expected) << "timeToStr(" << c.dos << ")";
        EXPECT_EQ(length, int(std::wcslen(c.expected))) << "length returned for " << c.dos;
    }
}

// NaN, infinities and times whose text would not fit 19 characters write ""
// and never touch the buffer past its 20 characters.
TEST(TimeText, NeverWritesMoreThanTwentyCharacters) {
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e15, -1e15,
                             -86399.0, -36000.0, -62135596800.0 - 1, 1.7976931348623157e308,
                             std::numeric_limits<double>::denorm_min()};
    for (double v : values) {
        wchar_t out[24];
        std::wmemset(out, L'#', 24);
        const int length = timeToStr(out, v);
        EXPECT_LE(length, 19) << "timeToStr(" << v << ")";
        EXPECT_EQ(int(std::wcslen(out)), length) << "timeToStr(" << v << ")";
        EXPECT_EQ(out[20], L'#') << "timeToStr(" << v << ") wrote past 20 characters";
    }
    EXPECT_EQ(timeText(std::nan("")), L"");
    EXPECT_EQ(timeText(-36000.0), L"") << "hour -10 would take 20 characters";
    EXPECT_EQ(timeText(-32400.0), L"12-31-69 -9:00:00.0");
}

// The text equals swprintf of "%02d-%02d-%02d %02d:%02d:%04.1f" of the
// fields whenever that fits 19 characters, and is "" otherwise.
TEST(TimeText, EqualsSwprintfOfTheTemplateOverARandomSweep) {
    std::mt19937_64 rng(4242);
    std::uniform_real_distribution<double> modern(1.0, 4102444800.0);
    std::uniform_real_distribution<double> wide(-7e10, 2.6e11);
    for (int i = 0; i < 100000; ++i) {
        double t = i % 3 == 0 ? wide(rng) : modern(rng);
        if (i % 5 == 0) t = std::floor(t);
        int year, month, day, hour, minute;
        double second;
        dosToYearMonthDay(t, &year, &month, &day, &hour, &minute, &second);
        wchar_t expected[64];
        const int n = std::swprintf(expected, 64, L"%02d-%02d-%02d %02d:%02d:%04.1f", month, day,
                                    year % 100, hour, minute, std::floor(second * 10) / 10);
        const std::wstring want = n <= 19 ? expected : L"";
        ASSERT_EQ(timeText(t), want) << "timeToStr(" << t << ")";
    }
}

TEST(TimeText, ReadsDatesLeniently) {
    const double july15 = 1626354762.0;
    struct Case {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"07-15-21 13:12:42.0", july15},
        {L"7/15/2021 13:12:42", july15},
        {L"Date 7 15 21, 13h12m42s", july15},
        {L"  07-15-21 13:12:42.0 trailing 99", july15},
        {L"7-4-21", yearMonthDayToDos(2021, 7, 4, 0, 0, 0.0)},
        {L"7-4-21 6", yearMonthDayToDos(2021, 7, 4, 6, 0, 0.0)},
        {L"7-4-21 6:5", yearMonthDayToDos(2021, 7, 4, 6, 5, 0.0)},
        {L"1-1-49", yearMonthDayToDos(2049, 1, 1, 0, 0, 0.0)},
        {L"1-1-50", yearMonthDayToDos(1950, 1, 1, 0, 0, 0.0)},
        {L"1-1-00", yearMonthDayToDos(2000, 1, 1, 0, 0, 0.0)},
        {L"1-1-1900", yearMonthDayToDos(1900, 1, 1, 0, 0, 0.0)},
        {L"12-31-2100", yearMonthDayToDos(2100, 12, 31, 0, 0, 0.0)},
        {L"1-32-21", yearMonthDayToDos(2021, 2, 1, 0, 0, 0.0)},  // day 32 carries
        {L"2-30-21", yearMonthDayToDos(2021, 3, 2, 0, 0, 0.0)},
        {L"1-1-21 25:75:61.5", yearMonthDayToDos(2021, 1, 1, 1, 15, 1.5)},  // fields wrap
        {L"7.9-4-21", yearMonthDayToDos(2021, 7, 4, 0, 0, 0.0)},  // the month's integer part
        {L"7-4-21 1:2:3.456789", yearMonthDayToDos(2021, 7, 4, 1, 2, 3.4567)},  // 6 characters
        {L"7\u4e2d4\x01" L"21", yearMonthDayToDos(2021, 7, 4, 0, 0, 0.0)},  // any non-digit separates
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(strToTime(c.text), c.expected) << "strToTime(" << narrow(c.text) << ")";
    }
}

TEST(TimeText, TextThatIsNotADateGivesZero) {
    const wchar_t* failures[] = {
        L"", L"   ", L"no digits", L"13-01-21", L"0-1-21", L"1-0-21", L"1-33-21", L"1-1-1899",
        L"1-1-2101", L"1-1-199", L"1-1-5", L"12-25", L"07.15.21", L"7-", L"7-4", L"7-4-",
        L"9999999999999999999999-1-21", L"1-123-2021" /* day 12, then year "3" */,
    };
    for (const wchar_t* text : failures) {
        EXPECT_EQ(strToTime(text), 0.0) << "strToTime(" << narrow(text) << ")";
    }
    const std::wstring longDigits(100000, L'1');
    EXPECT_EQ(strToTime(longDigits.c_str()), 0.0) << "a month of 15 ones";
}

// Formatting then reading gives the time truncated to tenths for every time
// from 1970 to the end of 2049. Times are drawn away from tenth boundaries,
// where the binary value may sit on either side.
TEST(TimeText, RoundTripsToTenthsFrom1970To2049) {
    std::mt19937_64 rng(1970);
    std::uniform_int_distribution<long long> tenths(1, 25246080000LL - 1);  // up to 2050-01-01
    std::uniform_real_distribution<double> within(0.001, 0.099);
    for (int i = 0; i < 100000; ++i) {
        const long long k = tenths(rng);
        const double t = i % 4 == 0 ? double(k / 10) : k / 10.0 + within(rng);
        const double truncated = i % 4 == 0 ? t : k / 10.0;
        const std::wstring text = timeText(t);
        const double back = strToTime(text.c_str());
        ASSERT_NEAR(back, truncated, 1e-6) << "t = " << t << ", text " << narrow(text);
    }
}

}  // namespace
