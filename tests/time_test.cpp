// Time through both doors: day numbers and calendar fields, GPS weeks and
// leap seconds, date-time texts written and read (flat wide text, UTF-8 and
// wide through the C++ API), and the clocks.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <iomanip>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "quillon/cpp/text.hpp"
#include "quillon/cpp/time.hpp"
#include "quillon/timescale.h"
#include "test_support.h"
#include "time/dos_calendar.h"
#include "time/julian_day.h"

namespace {

using quillon::Errc;
using testing_support::widen;
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Time, DayNumbersOfKnownDatesConvertBack) {
    const struct {
        int month, day, year, jul;
    } rows[] = {
        {1, 1, 1, 1721424}, {1, 1, 1970, 2440588},  // the sweep below starts at the first: later dates follow
        {1, 1, -1, 1721058}, {12, 31, -1, 1721423}, {2, 29, -5, 1719656}, {7, 4, -4713, 185},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.year) + "-" + std::to_string(row.month) + "-" + std::to_string(row.day));
        EXPECT_EQ(julDate(row.month, row.day, row.year), row.jul);
        int m = 0, d = 0, y = 0;
        quillon::time::julToYearMonthDay(row.jul, &m, &d, &y);
        EXPECT_EQ(y * 10000 + m * 100 + d, row.year * 10000 + row.month * 100 + row.day);
    }
    EXPECT_EQ(julDate(1, 32, 2021), julDate(2, 1, 2021)) << "days past a month's end carry";
    EXPECT_EQ(quillon::julian_day_number(2021, 1, 32), 2459247) << "year, month, day in that order";
    const auto date = quillon::civil_date(2459247);
    EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20210201);
    // Outside the served years the values mean nothing, but the arithmetic
    // stays defined (no overflow under the undefined-behaviour sanitizer).
    for (int a : {INT_MIN, -1, 0, INT_MAX}) {
        int m, d, y;
        (void)julDate(a, a, a);
        quillon::time::julToYearMonthDay(a, &m, &d, &y);
    }
}

// Every civil date of years 1 to 9999 (Julian calendar to 1582-10-04,
// Gregorian from 1582-10-15): day numbers are consecutive and convert back.
TEST(Time, EveryDateOfYears1To9999IsConsecutiveAndConvertsBack) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    int expected = julDate(1, 1, 1), failures = 0;
    for (int year = 1; year <= 9999 && failures < 10; ++year) {
        for (int month = 1; month <= 12; ++month) {
            const bool leap = year % 4 == 0 && (year <= 1582 || year % 100 != 0 || year % 400 == 0);  // Julian first
            const int last = month == 2 && leap ? 29 : days[month - 1];
            for (int day = 1; day <= last; ++day) {
                if (year == 1582 && month == 10 && day > 4 && day < 15) continue;
                const int jul = julDate(month, day, year);
                int m = 0, d = 0, y = 0;
                quillon::time::julToYearMonthDay(jul, &m, &d, &y);
                if (jul != expected++ || m != month || d != day || y != year)
                    ADD_FAILURE() << year << "-" << month << "-" << day << ": " << jul << " back to " << y << "-"
                                  << m << "-" << d << (++failures, "");
            }
        }
    }
}

// The flat functions keep hours negative before 1970; the API's calendar
// fields do not.
TEST(Time, CalendarFieldsThroughEveryDoor) {
    const struct {
        double dos;
        int year, month, day, hour, minute;
        double second;
        int dayOfYear;
        int apiHour;
    } rows[] = {
        {951782400.0, 2000, 2, 29, 0, 0, 0.0, 60, 0}, {1626354762.0, 2021, 7, 15, 13, 12, 42.0, 196, 13},
        {5097600.0, 1970, 3, 1, 0, 0, 0.0, 60, 0}, {978220800.0 + 86399.5, 2000, 12, 31, 23, 59, 59.5, 366, 23},
        {1640908800.0, 2021, 12, 31, 0, 0, 0.0, 365, 0},
        {-1.0, 1969, 12, 31, -1, 59, 59.0, 365, 23},  // negative remainder before 1970
        {253402300799.0, 9999, 12, 31, 23, 59, 59.0, 365, 23},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dos);
        int y, mo, d, h, mi, doy, jy, jh, jmi;
        double s, js;
        dosToYearMonthDay(row.dos, &y, &mo, &d, &h, &mi, &s);
        EXPECT_EQ(y * 10000 + mo * 100 + d, row.year * 10000 + row.month * 100 + row.day);
        EXPECT_EQ(h * 100 + mi, row.hour * 100 + row.minute);
        EXPECT_DOUBLE_EQ(s, row.second);
        dosToYearJulDay(row.dos, &jy, &doy, &jh, &jmi, &js);
        EXPECT_EQ(jy * 1000 + doy, row.year * 1000 + row.dayOfYear);
        EXPECT_EQ(jh * 100 + jmi, row.hour * 100 + row.minute);
        EXPECT_DOUBLE_EQ(js, row.second);
        if (row.dos >= 0) {
            EXPECT_DOUBLE_EQ(yearMonthDayToDos(y, mo, d, h, mi, s), row.dos);
        }
        const auto c = quillon::calendar_time(row.dos);
        EXPECT_EQ(c.year * 10000 + c.month * 100 + c.day, row.year * 10000 + row.month * 100 + row.day);
        EXPECT_EQ(c.hour * 100 + c.minute, row.apiHour * 100 + row.minute);
        EXPECT_EQ(c.second, row.second);
    }
    const auto justBefore = quillon::calendar_time(-1e-9);
    EXPECT_EQ(justBefore.year * 100 + justBefore.hour, 196923);
    EXPECT_LT(justBefore.second, 60.0);
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(2021, 7, 15, 0, 90, 75.5), yearMonthDayToDos(2021, 7, 15, 1, 31, 15.5));
    EXPECT_DOUBLE_EQ(yearMonthDayToDos(1969, 12, 31, 0, 0, 0.0), -86400.0);
    for (double v : {std::nan(""), kInf, -kInf, 1e300}) {  // defined under the sanitizer
        int y, mo, d, h, mi;
        double s;
        dosToYearMonthDay(v, &y, &mo, &d, &h, &mi, &s);
        dosToYearJulDay(v, &y, &d, &h, &mi, &s);
    }
    EXPECT_EQ(quillon::julian_date(946728000.0), 2451545.0);  // J2000.0, 2000-01-01 12:00
    EXPECT_EQ(quillon::modified_julian_date(946684800.0), 51544.0);
    EXPECT_EQ(quillon::unix_time_of_julian_date(2451545.0), 946728000.0);
    EXPECT_EQ(quillon::unix_time_of_modified_julian_date(51544.0), 946684800.0);
}

// The time of day is fmod's remainder to the bit, and the whole days what is
// left over 86400, a few ulps either side of midnights on and off the fast
// path too.
TEST(Time, SecondOfDayIsFmodBitForBit) {
    for (double midnight : {0.0, 86400.0, 49710 * 86400.0, 12345 * 86400.0, 4294967296.0, 1e300, -86400.0}) {
        double t = midnight;
        for (int k = 0; k < 5; ++k) t = std::nextafter(t, -kInf);
        for (int k = 0; k < 10; ++k, t = std::nextafter(t, kInf)) {
            const double expected = std::fmod(t, 86400.0), expectedDays = (t - expected) / 86400.0;
            double days = -1.0;
            const double actual = quillon::time::secondOfDayOf(t, &days);
            EXPECT_TRUE(std::memcmp(&expected, &actual, sizeof actual) == 0 &&
                        std::memcmp(&expectedDays, &days, sizeof days) == 0)
                << "time " << t << ": " << actual << " after " << days << " days";
        }
    }
    // The hour and minute are the floors of the quotients as divided, also
    // on and next to every whole minute of a day.
    const double day = 1626307200.0;  // 2021-07-15
    for (double t = day; t < day + 86400.0; t += 60.0) {
        for (double u : {std::nextafter(t, 0.0), t, std::nextafter(t, kInf)}) {
            const double second = std::fmod(u, 86400.0), hour = std::floor(second / 3600.0);
            const double minute = std::floor((second - 3600.0 * hour) / 60.0);
            const auto c = quillon::calendar_time(u);
            ASSERT_TRUE(c.hour == hour && c.minute == minute && c.second == second - 3600.0 * hour - 60.0 * minute)
                << std::setprecision(17) << u;
        }
    }
}

TEST(Time, GpsWeeksAndLeapSeconds) {
    const struct { double week, seconds, dos; } weeks[] = {
        {0, 0, 315964800.0},        {2000, 0, 1525564800.0}, {2000, 3.5 * 86400, 1525564800.0 + 3.5 * 86400},
        {2000, 604800, 1525564800.0 + 604800},  // a full week of seconds carries
        {1, -1, 315964800.0 + 604799}, {2160, 259218.0, 1622592018.0},
        {-103000, 12345.5, 315964800.0 - 103000 * 604800.0 + 12345.5},
        {-531, 604800, -4579200.0000000009},  // a rounding step before a week's start, near 1970
    };
    for (const auto& row : weeks) {
        SCOPED_TRACE(row.dos);
        // The value passes through a day count: about 1e-4 s of rounding.
        EXPECT_NEAR(gpsToDos(row.week, row.seconds), row.dos, 1e-3);
        EXPECT_NEAR(quillon::unix_time_of_gps(row.week, row.seconds), row.dos, 1e-3);
        const auto gps = quillon::gps_time_of(row.dos);
        EXPECT_TRUE(gps.seconds >= 0.0 && gps.seconds < 604800.0 && gps.week == std::floor(gps.week));
        EXPECT_NEAR(gps.week * 604800.0 + gps.seconds, row.dos - 315964800.0, 2e-4);
    }
    EXPECT_EQ(gpsToDos(2000, 0), 1525564800.0);
    EXPECT_TRUE(std::isnan(quillon::gps_time_of(std::nan("")).seconds));

    // GPS time runs ahead of UTC by the leap seconds since 1980; the second a
    // leap second inserts gives 23:59:59 again.
    const double newYear2017 = 1483228800.0;  // GPS - UTC 17 before, 18 from then on
    const struct {
        double utc;
        int offset;
    } offsets[] = {{315964800.0, 0}, {362793599.0, 0}, {362793600.0, 1}, {newYear2017 - 0.5, 17},
                   {newYear2017, 18}, {0.0, 0}, {std::nan(""), 0}};
    for (const auto& row : offsets) EXPECT_EQ(quillon::gps_utc_offset(row.utc), row.offset) << row.utc;
    const struct {
        double gps, utc;
    } times[] = {{quillon::gps_time(2166, 393162), 1626354744.0},
                 {newYear2017 + 16.5, newYear2017 - 0.5},  // 23:59:59.5
                 {newYear2017 + 17.5, newYear2017 - 0.5},  // 23:59:60.5, on the scale the same
                 {newYear2017 + 18.0, newYear2017},
                 {quillon::kGpsEpochUnixTime, quillon::kGpsEpochUnixTime}};
    for (const auto& row : times) EXPECT_EQ(quillon::utc_of_gps_time(row.gps), row.utc) << row.gps;
}

// Month first, seconds truncated to tenths; "" where the text would not fit
// 19 characters. Flat and API texts alike, and never past the buffer.
TEST(Time, TextsAreWrittenAlikeThroughEveryDoor) {
    const struct {
        double t;
        const char* expected;
    } rows[] = {
        {1626354762.0, "07-15-21 13:12:42.0"}, {59.99, "01-01-70 00:00:59.9"},  // truncated, never rounded up to 60.0
        {951782400.25, "02-29-00 00:00:00.2"},
        {1626393600.0 - 1e-5, "07-15-21 23:59:59.9"},  // microseconds before midnight
        {-1.0, "12-31-69 -1:59:59.0"},                 // before 1970: negative hours
        {-32400.0, "12-31-69 -9:00:00.0"}, {253402300799.0, "12-31-99 23:59:59.0"},  // 9999
        {0.0, ""}, {-36000.0, ""},  // hour -10 would take 20 characters
        {std::nan(""), ""}, {kInf, ""}, {-1e300, ""},
    };
    for (const auto& row : rows) {
        const std::string expected = row.expected;
        SCOPED_TRACE(row.t);
        std::wstring flat(24, L'#');
        EXPECT_EQ(timeToStr(flat.data(), row.t), int(expected.size()));
        EXPECT_EQ(std::wstring(flat.c_str()), widen(expected));
        EXPECT_EQ(flat[20], L'#') << "wrote past 20 characters";
        char narrow[quillon::kMaxTimeText + 1];
        wchar_t wide[quillon::kMaxTimeText + 1];
        EXPECT_EQ(quillon::write_time(narrow, sizeof narrow, row.t), expected.size());
        EXPECT_EQ(std::string(narrow), expected);
        EXPECT_EQ(quillon::write_time(wide, std::size(wide), row.t), expected.size());
        EXPECT_EQ(quillon::to_utf8(wide), expected);
        if (expected.empty()) continue;
        std::memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(quillon::write_time(narrow, expected.size(), row.t), 0u) << "one short";
        EXPECT_EQ(std::string(narrow, 2), std::string("\0#", 2));
    }
    EXPECT_EQ(quillon::format_time(1626354762.0), "07-15-21 13:12:42.0");
}

// The lenient reader (flat strToTime, which gives 0 for what it refuses,
// and parse_time in both widths, which says which field is wrong), the
// strict month-first reader and the ISO reader.
TEST(Time, ReadersTakeWhatTheyShouldAndNameWhatIsWrong) {
    const double july15 = 1626354762.0;
    const double july4 = 1625356800.0;
    enum Reader { lenient, monthFirst, iso };
    const struct {
        Reader reader;
        const char* text;
        double t;             // when ok
        Errc code;
        const char* message;  // null when ok
    } rows[] = {
        {lenient, "Date 7 15 21, 13h12m42s", july15, {}, nullptr},
        {lenient, "  07-15-21 13:12:42.0 trailing 99", july15, {}, nullptr},
        {lenient, "7\xE4\xB8\xAD" "15\xC2\xB7" "21 13h12m42s", july15, {}, nullptr},  // any non-digit separates
        {lenient, "7-4-21 6:5", july4 + 6 * 3600 + 300, {}, nullptr},
        {lenient, "7.9-4-21", july4, {}, nullptr},  // the month's integer part
        {lenient, "7-4-21 1:2:3.456789", july4 + 3723.4567, {}, nullptr},  // 6 characters
        {lenient, "1-1-49", 2493072000.0, {}, nullptr}, {lenient, "1-1-50", -631152000.0, {}, nullptr},
        {lenient, "12-31-2100", 4133894400.0, {}, nullptr},
        {lenient, "2-30-21", 1614643200.0, {}, nullptr},  // day 30 carries
        {lenient, "1-1-21 25:75:61.5", 1609463701.5, {}, nullptr},  // fields wrap
        {lenient, "", 0, Errc::parse_error, "no month"},
        {lenient, "13-01-21", 0, Errc::out_of_range, "month 13 is not 1..12"},
        {lenient, "0.5-1-21", 0, Errc::out_of_range, "month 0.5 is not 1..12"},
        // The longest month the reader takes: 15 characters.
        {lenient, "123456789012345678-1-21", 0, Errc::out_of_range, "month 123456789012345 is not 1..12"},
        {lenient, "07.15.21", 0, Errc::parse_error, "no day"},
        {lenient, "1-0-21", 0, Errc::out_of_range, "day 0 is not 1..32"},
        {lenient, "1-33-21", 0, Errc::out_of_range, "day 33 is not 1..32"},
        {lenient, "12-25", 0, Errc::parse_error, "no year"},
        {lenient, "1-1-5", 0, Errc::parse_error, "year 5 has fewer than 2 digits"},
        {lenient, "1-1-100", 0, Errc::out_of_range, "year 100 is outside 1900..2100"},
        {lenient, "1-1-2101", 0, Errc::out_of_range, "year 2101 is outside 1900..2100"},
        {lenient, "1-123-2021", 0, Errc::parse_error, "year 3 has fewer than 2 digits"},
        {monthFirst, " 07-15-21 13:12:42.0 ", july15, {}, nullptr},
        {monthFirst, "7/15/2021 13:12:42", july15, {}, nullptr},
        {monthFirst, "12-31-49", 2524521600.0, {}, nullptr},  // 2049
        {monthFirst, "00-15-21", 0, Errc::out_of_range, "month 0 is not 1..12"},
        {monthFirst, "07-15-21 25:00", 0, Errc::out_of_range, "hour 25 is not 0..23"},
        {monthFirst, "07-15-21 13:61", 0, Errc::out_of_range, "minute 61 is not 0..59"},
        {monthFirst, "02-30-21", 0, Errc::out_of_range, "day 30 is not 1..28 in February 2021"},
        {monthFirst, "02-29-1900", 0, Errc::out_of_range, "day 29 is not 1..28 in February 1900"},
        {monthFirst, "07-15-21 1:12 PM", 0, Errc::parse_error, "cannot read 'PM' in '07-15-21 1:12 PM'"},
        {monthFirst, "07.15.21", 0, Errc::parse_error, "cannot read '.15.21' in '07.15.21'"},
        {monthFirst, "07-15-213", 0, Errc::parse_error, "cannot read '213' in '07-15-213'"},
        {monthFirst, "07-15", 0, Errc::parse_error, "'07-15' ends before its year"},
        {monthFirst, "07-15-21 13:", 0, Errc::parse_error, "'07-15-21 13:' ends before its minute"},
        {monthFirst, " ", 0, Errc::parse_error, "no month in ' '"},
        {iso, "2021-07-15T13:12:42Z", july15, {}, nullptr},
        {iso, "2021-07-15t15:12:42,5+02:00", july15 + 0.5, {}, nullptr},
        {iso, "2021-07-15T08:12:42-0500", july15, {}, nullptr}, {iso, "2021-07-15 ", 1626307200.0, {}, nullptr},
        {iso, "2021-07-15T13:12:42+24:00", 0, Errc::out_of_range, "offset hour 24 is not 0..23"},
        {iso, "2021-07-15T13:12:60Z", 0, Errc::out_of_range, "second 60 is not at least 0 and below 60"},
        {iso, "2021-7-15", 0, Errc::parse_error, "cannot read '7-15' in '2021-7-15'"},
        {iso, "2021-07-15T13Z", 0, Errc::parse_error, "cannot read 'Z' in '2021-07-15T13Z'"},
        {iso, "1582-10-10", 0, Errc::out_of_range, "year 1582 is before 1583 (ISO 8601 dates are Gregorian)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        if (row.reader == lenient) {
            EXPECT_NEAR(strToTime(quillon::to_wide(row.text).c_str()), row.t, 1e-6);
        }
        for (const bool wide : {false, true}) {
            if (wide && row.reader != lenient) continue;  // the checked readers are UTF-8 only
            const auto result = row.reader == iso          ? quillon::read_iso_time(row.text)
                                : row.reader == monthFirst ? quillon::read_time(row.text)
                                : wide                     ? quillon::parse_time(quillon::to_wide(row.text))
                                                           : quillon::parse_time(row.text);
            EXPECT_NEAR(result.value_or(0.0), row.t, 1e-6);  // refused rows hold 0
            EXPECT_EQ(result.ok() ? Errc{} : result.error().code, row.code);
            EXPECT_STREQ(result.ok() ? nullptr : result.error().message.c_str(), row.message);
        }
    }
    const auto skipped = quillon::checked_unix_time({1582, 10, 5, 0, 0, 0.0});
    EXPECT_EQ(skipped.ok() ? "" : skipped.error().message,
              "1582-10-05 was skipped by the change to the Gregorian calendar");
    EXPECT_FALSE(quillon::checked_unix_time({2021, 7, 15, 0, 0, std::nan("")}).ok());
    EXPECT_TRUE(quillon::checked_unix_time({2021, 10, 10, 0, 0, 0.0}).ok() &&
                quillon::checked_unix_time({1582, 9, 30, 0, 0, 0.0}).ok()) << "only 1582-10-05..14 were skipped";
    EXPECT_EQ(quillon::checked_unix_time({1500, 2, 29, 0, 0, 0.0}).value_or(0.0),
              quillon::unix_time({1500, 3, 1, 0, 0, 0.0}) - 86400.0) << "a Julian leap day";
}

// One test, in order, since the clocks are process-wide: the first read of
// the unset hosts' clock, a set, then reads after real time has passed while
// the process slept; the API's clocks are independent objects beside it.
TEST(Time, ClocksCountWallTimeFromWhereTheyWereSet) {
    const double systemBefore = double(std::time(nullptr));
    const long processBefore = quillon::platform::processClockMs();
    const double reading = dClock();
    EXPECT_GE(reading, 100000000.0);
    EXPECT_EQ(std::fmod(reading - 100000000.0, 1000.0), 0.0) << "whole seconds in milliseconds";

    quillon::RunningClock a, b, fresh;
    EXPECT_FALSE(a.is_set());
    a.set(3.0e9);
    b.set(2.0e9);
    const double first = gpsTime(0.0);
    EXPECT_GE(first, systemBefore - 1) << "the first read starts from the system time";
    EXPECT_LE(first, double(std::time(nullptr)) + 1);
    EXPECT_EQ(std::fmod(first - systemBefore, 1.0), 0.0) << "whole seconds only";
    const char* tz = std::getenv("TZ");
    ASSERT_NE(tz, nullptr) << "the first read switches the process to GMT";
    EXPECT_STREQ(tz, "GMT0");
    const double set = gpsTime(1.0e9);
    EXPECT_TRUE(set == 1.0e9 || set == 1.0e9 + 1) << set;

    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    const double elapsed = (dClock() - reading) / 1000.0;
    EXPECT_TRUE(elapsed == 1.0 || elapsed == 2.0) << "dClock advanced " << elapsed << " s while sleeping";
    EXPECT_GE(quillon::platform::processClockMs() - processBefore, 1590) << "not a CPU-time clock";
    EXPECT_GT(quillon::platform::systemTimeSeconds(), 1700000000);
    const double later = gpsTime(0.0);
    EXPECT_TRUE(later == 1.0e9 + 1 || later == 1.0e9 + 2) << "1.6 s after setting 1e9: " << later;
    const double readA = a.read(), readB = b.read();
    EXPECT_TRUE(readA == 3.0e9 + 1 || readA == 3.0e9 + 2) << readA;
    EXPECT_TRUE(readB == 2.0e9 + 1 || readB == 2.0e9 + 2) << readB;
    EXPECT_NEAR(fresh.read(), double(std::time(nullptr)), 2.0) << "a clock never set starts from the system time";
    EXPECT_TRUE(fresh.is_set());
    const double rebased = gpsTime(2.0e9);
    EXPECT_TRUE(rebased == 2.0e9 || rebased == 2.0e9 + 1) << rebased;
    a.set(std::nan(""));
    EXPECT_TRUE(std::isnan(a.read()));
    EXPECT_FALSE(std::isnan(b.read()));
}

}  // namespace
