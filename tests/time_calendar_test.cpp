// Julian day numbers, calendar fields and GPS weeks on the DOS time scale.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "quillon/timescale.h"
#include "time/dos_calendar.h"
#include "time/julian_day.h"

namespace {

using quillon::time::julToYearMonthDay;

TEST(JulianDay, KnownDayNumbers) {
    struct Case {
        int month, day, year, jul;
    } cases[] = {
        {1, 1, 1970, 2440588}, {1, 6, 1980, 2444245},  {1, 1, 2000, 2451545},
        {10, 15, 1582, 2299161}, {10, 4, 1582, 2299160}, {1, 1, -1, 1721058},
        {1, 1, 1, 1721424},     {12, 31, 9999, 5373484}, {2, 29, 2000, 2451604},
        {3, 1, 1900, 2415080},  {1, 32, 2021, 2459247},  {1, 1, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(julDate(c.month, c.day, c.year), c.jul)
            << "julDate(" << c.month << ", " << c.day << ", " << c.year << ")";
    }
    EXPECT_EQ(julDate(2, 1, 2021), julDate(1, 32, 2021)) << "days past a month's end carry";
}

bool isLeap(int year) {
    if (year <= 1582) return year % 4 == 0;  // Julian calendar
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysIn(int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

// Walks every civil date of years 1 to 9999 (Julian calendar to 1582-10-04,
// Gregorian from 1582-10-15): day numbers are consecutive from 1721424 and
// each converts back to its date.
TEST(JulianDay, EveryDateOfYears1To9999IsConsecutiveAndConvertsBack) {
    int expected = julDate(1, 1, 1);
    int failures = 0;
    for (int year = 1; year <= 9999 && failures < 10; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= daysIn(month, year); ++day) {
                if (year == 1582 && month == 10 && day > 4 && day < 15) continue;
                const int jul = julDate(month, day, year);
                int m = 0, d = 0, y = 0;
                julToYearMonthDay(jul, &m, &d, &y);
                if (jul != expected || m != month || d != day || y != year) {
                    ++failures;
                    ADD_FAILURE() << year << "-" << month << "-" << day << ": julDate " << jul
                                  << " (expected " << expected << "), back to " << y << "-" << m
                                  << "-" << d;
                }
                expected = jul + 1;
            }
        }
    }
    EXPECT_EQ(expected - 1, 5373484);
}

TEST(JulianDay, YearsBeforeChrist) {
    struct Case {
        int month, day, year;
    } cases[] = {{12, 31, -1}, {1, 1, -1}, {3, 1, -5}, {2, 29, -5}, {7, 4, -4713}};
    for (const Case& c : cases) {
        int m = 0, d = 0, y = 0;
        julToYearMonthDay(julDate(c.month, c.day, c.year), &m, &d, &y);
        EXPECT_EQ(y * 10000 + m * 100 + d, c.year * 10000 + c.month * 100 + c.day)
            << "date " << c.year << "-" << c.month << "-" << c.day;
    }
    EXPECT_EQ(julDate(12, 31, -1) + 1, julDate(1, 1, 1)) << "there is no year 0";
}

TEST(JulianDay, ExtremeArgumentsStayDefined) {
    // Outside the served years the values mean nothing, but the arithmetic
    // stays defined (no overflow, no out-of-range conversion).
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1, 0, 1, INT_MAX - 1, INT_MAX};
    for (int a : extremes) {
        for (int b : extremes) {
            (void)julDate(a, b, a);
            (void)julDate(b, a, b);
            int m, d, y;
            julToYearMonthDay(a, &m, &d, &y);
        }
    }
    int m = 0, d = 0, y = 0;
    julToYearMonthDay(INT_MAX, &m, &d, &y);
    EXPECT_GT(y, 5000000);
}

struct Fields {
    int year, month, day, hour, minute;
    double second;
};

TEST(DosTime, SplitsIntoCalendarFields) {
    struct Case {
        double dos;
        Fields expected;
        int dayOfYear;
    } cases[] = {
        {951782400.0, {2000, 2, 29, 0, 0, 0.0}, 60},
        {1626354762.0, {2021, 7, 15, 13, 12, 42.0}, 196},
        {5097600.0, {1970, 3, 1, 0, 0, 0.0}, 60},
        {978220800.0 + 86399.5, {2000, 12, 31, 23, 59, 59.5}, 366},
        {1640908800.0, {2021, 12, 31, 0, 0, 0.0}, 365},
        {-1.0, {1969, 12, 31, -1, 59, 59.0}, 365},  // negative remainder before 1970
        {253402300799.0, {9999, 12, 31, 23, 59, 59.0}, 365},
    };
    for (const auto& c : cases) {
        Fields f{};
        dosToYearMonthDay(c.dos, &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second);
        EXPECT_EQ(f.year, c.expected.year) << "dosToYearMonthDay(" << c.dos << ")";
        EXPECT_EQ(f.month, c.expected.month) << "dosToYearMonthDay(" << c.dos << ")";
        EXPECT_EQ(f.day, c.expected.day) << "dosToYearMonthDay(" << c.dos << ")";
        EXPECT_EQ(f.hour, c.expected.hour) << "dosToYearMonthDay(" << c.dos << ")";
        EXPECT_EQ(f.minute, c.expected.minute) << "dosToYearMonthDay(" << c.dos << ")";
        EXPECT_DOUBLE_EQ(f.second, c.expected.second) << "dosToYearMonthDay(" << c.dos << ")";

        Fields j{};
        int dayOfYear = 0;
        dosToYearJulDay(c.dos, &j.year, &dayOfYear, &j.hour, &j.minute, &j.second);
        EXPECT_EQ(j.year, c.expected.year) << "dosToYearJulDay(" << c.dos << ")";
        EXPECT_EQ(dayOfYear, c.dayOfYear) << "dosToYearJulDay(" << c.dos << ")";
        EXPECT_EQ(j.hour * 3600 + j.minute * 60, c.expected.hour * 3600 + c.expected.minute * 60)
            << "dosToYearJulDay(" << c.dos << ")";
        EXPECT_DOUBLE_EQ(j.second, c.expected.second) << "dosToYearJulDay(" << c.dos << ")";

        if (c.dos >= 0) {
            EXPECT_DOUBLE_EQ(yearMonthDayToDos(f.year, f.month, f.day, f.hour, f.minute, f.second), c.dos)
                << "yearMonthDayToDos of the fields of " << c.dos;
        }
    }
}

TEST(DosTime, FromCalendarFieldsCarriesOutOfRangeTimes) {
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(2021, 7, 15, 13, 12, 42.0), 1626354762.0);
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(1970, 1, 1, 0, 0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(2021, 7, 15, 25, 0, 0.0), yearMonthDayToDos(2021, 7, 16, 1, 0, 0.0));
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(2021, 7, 15, 0, 90, 75.5), yearMonthDayToDos(2021, 7, 15, 1, 31, 15.5));
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(1969, 12, 31, 0, 0, 0.0), -86400.0);
}

TEST(DosTime, NonFiniteTimesGiveDefinedFields) {
    const double values[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(), 1e300, -1e300};
    for (double v : values) {
        Fields f{};
        int dayOfYear = 0;
        dosToYearMonthDay(v, &f.year, &f.month, &f.day, &f.hour, &f.minute, &f.second);
        dosToYearJulDay(v, &f.year, &dayOfYear, &f.hour, &f.minute, &f.second);
    }
    SUCCEED() << "no trap under the undefined-behaviour sanitizer";
}

TEST(GpsTime, WeeksAndSecondsToDosTime) {
    struct Case {
        double week, seconds, dos;
    } cases[] = {
        {0, 0, 315964800.0},
        {2000, 0, 1525564800.0},
        {2000, 3.5 * 86400, 1525564800.0 + 3.5 * 86400},
        {2000, 604800, 1525564800.0 + 604800},  // a full week of seconds carries
        {1, -1, 315964800.0 + 604799},
        {2160, 259218.0, 1622592018.0},
    };
    for (const auto& c : cases) {
        // The value passes through a day count: about 1e-4 s of rounding.
        EXPECT_NEAR(gpsToDos(c.week, c.seconds), c.dos, 1e-3)
            << "gpsToDos(" << c.week << ", " << c.seconds << ")";
    }
    EXPECT_EQ(gpsToDos(0, 0), 315964800.0);
    EXPECT_EQ(gpsToDos(2000, 0), 1525564800.0);
}

// The time of day is fmod's remainder to the bit, and the whole days what is
// left over 86400, on the fast path too:
// plain times, times a few ulps either side of each midnight (where the
// quotient rounds across the day), the ends of the fast path, and beyond.
TEST(DosCalendar, SecondOfDayIsFmodBitForBit) {
    std::mt19937_64 rng(86400);
    std::uniform_real_distribution<double> anyTime(0.0, 4294967296.0);
    std::uniform_int_distribution<int> anyDay(0, 49710);
    std::uniform_int_distribution<int> ulps(-4, 4);
    std::vector<double> times = {0.0, -0.0, 1e-300, 5e-324, 86400.0, 4294967295.999, 4294967296.0,
                                 -1.0, -86400.5, 1e300, std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 200000; ++i) {
        times.push_back(anyTime(rng));
        double midnight = anyDay(rng) * 86400.0;
        for (int k = ulps(rng); k != 0; k += k > 0 ? -1 : 1)
            midnight = std::nextafter(midnight, k > 0 ? 1e300 : -1e300);
        times.push_back(midnight);
    }
    int failures = 0;
    for (double t : times) {
        const double expected = std::fmod(t, 86400.0);
        const double expectedDays = (t - expected) / 86400.0;
        double days = -1.0;
        const double actual = quillon::time::secondOfDayOf(t, &days);
        if ((std::memcmp(&expected, &actual, sizeof actual) != 0 ||
             std::memcmp(&expectedDays, &days, sizeof days) != 0) &&
            failures++ < 10)
            ADD_FAILURE() << "time " << t << ": " << actual << " after " << days << " days, fmod " << expected
                          << " after " << expectedDays;
    }
}

}  // namespace
