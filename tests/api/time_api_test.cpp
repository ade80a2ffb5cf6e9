// The C++ API of time: UTF-8 and wide date-time texts agree, parse_time
// says which field is wrong, the checked readers refuse what parse_time
// carries over, leap seconds part GPS time from UTC, GPS weeks invert, and
// running clocks are independent objects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "quillon/cpp/text.hpp"
#include "quillon/cpp/time.hpp"

namespace {

using quillon::Errc;

TEST(TimeApi, NarrowAndWideTimeTextsAgreeAndKeepTheBufferConvention) {
    const struct {
        double t;
        const char* expected;
    } rows[] = {
        {1626354762.0, "07-15-21 13:12:42.0"},
        {59.99, "01-01-70 00:00:59.9"},
        {-1.0, "12-31-69 -1:59:59.0"},
        {0.0, ""},
        {-36000.0, ""},  // hour -10 would take 20 characters
        {std::numeric_limits<double>::infinity(), ""},
    };
    for (const auto& row : rows) {
        const std::string expected = row.expected;
        char narrow[quillon::kMaxTimeText + 1];
        wchar_t wide[quillon::kMaxTimeText + 1];
        EXPECT_EQ(quillon::write_time(narrow, sizeof narrow, row.t), expected.size()) << row.t;
        EXPECT_EQ(std::string(narrow), expected);
        EXPECT_EQ(quillon::write_time(wide, std::size(wide), row.t), expected.size()) << row.t;
        EXPECT_EQ(quillon::to_utf8(wide), expected);
        if (expected.empty()) continue;
        std::memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(quillon::write_time(narrow, expected.size(), row.t), 0u) << "one short";
        EXPECT_EQ(narrow[0], '\0');
        EXPECT_EQ(narrow[1], '#');
    }
    EXPECT_EQ(quillon::write_time(static_cast<char*>(nullptr), 0, 1.0), 0u);
    EXPECT_EQ(quillon::format_time(1626354762.0), "07-15-21 13:12:42.0");
}

// parse_time reads what the hosts typed and says which field is wrong;
// the checked readers take whole texts of fields in range, UTC, and name
// what is wrong; checked_unix_time checks fields given as numbers alike.
TEST(TimeApi, TimeReadersNameWhatIsWrong) {
    const double july15 = 1626354762.0;
    enum Reader { lenient, monthFirst, iso };
    const struct {
        Reader reader;
        const char* text;
        double t;             // when ok
        Errc code;
        const char* message;  // null when ok
    } rows[] = {
        {lenient, "7\xE4\xB8\xAD" "15\xC2\xB7" "21 13h12m42s", july15, {}, nullptr},  // any non-digit separates
        {lenient, "1-1-70", 0.0, {}, nullptr},
        {lenient, "", 0, Errc::parse_error, "no month"},
        {lenient, "no digits", 0, Errc::parse_error, "no month"},
        {lenient, "13-01-21", 0, Errc::out_of_range, "month 13 is not 1..12"},
        {lenient, "0.5-1-21", 0, Errc::out_of_range, "month 0.5 is not 1..12"},
        {lenient, "07.15.21", 0, Errc::parse_error, "no day"},
        {lenient, "1-0-21", 0, Errc::out_of_range, "day 0 is not 1..32"},
        {lenient, "1-33-21", 0, Errc::out_of_range, "day 33 is not 1..32"},
        {lenient, "12-25", 0, Errc::parse_error, "no year"},
        {lenient, "1-1-5", 0, Errc::parse_error, "year 5 has fewer than 2 digits"},
        {lenient, "1-1-199", 0, Errc::out_of_range, "year 199 is outside 1900..2100"},
        {lenient, "1-1-1899", 0, Errc::out_of_range, "year 1899 is outside 1900..2100"},
        {lenient, "1-123-2021", 0, Errc::parse_error, "year 3 has fewer than 2 digits"},
        {monthFirst, " 07-15-21 13:12:42.0 ", july15, {}, nullptr},
        {monthFirst, "7/15/2021 13:12:42", july15, {}, nullptr},
        {monthFirst, "12-31-49", 2524521600.0, {}, nullptr},  // 2049
        {monthFirst, "00-15-21", 0, Errc::out_of_range, "month 0 is not 1..12"},
        {monthFirst, "07-15-21 25:00", 0, Errc::out_of_range, "hour 25 is not 0..23"},
        {monthFirst, "07-15-21 13:61", 0, Errc::out_of_range, "minute 61 is not 0..59"},
        {monthFirst, "02-30-21", 0, Errc::out_of_range, "day 30 is not 1..28 in February 2021"},
        {monthFirst, "02-29-1900", 0, Errc::out_of_range, "day 29 is not 1..28 in February 1900"},
        {monthFirst, "1-1-1850", 0, Errc::out_of_range, "year 1850 is outside 1900..2100"},
        {monthFirst, "07-15-21 1:12 PM", 0, Errc::parse_error, "cannot read 'PM' in '07-15-21 1:12 PM'"},
        {monthFirst, "07-15-21 13:12 +02:00", 0, Errc::parse_error, "cannot read '+02:00' in '07-15-21 13:12 +02:00'"},
        {monthFirst, "07.15.21", 0, Errc::parse_error, "cannot read '.15.21' in '07.15.21'"},
        {monthFirst, "07-15-213", 0, Errc::parse_error, "cannot read '213' in '07-15-213'"},
        {monthFirst, "07-15", 0, Errc::parse_error, "'07-15' ends before its year"},
        {monthFirst, "07-15-21 13:", 0, Errc::parse_error, "'07-15-21 13:' ends before its minute"},
        {monthFirst, " ", 0, Errc::parse_error, "no month in ' '"},
        {iso, "2021-07-15T13:12:42Z", july15, {}, nullptr},
        {iso, "2021-07-15 13:12:42", july15, {}, nullptr},
        {iso, "2021-07-15t15:12:42,5+02:00", july15 + 0.5, {}, nullptr},
        {iso, "2021-07-15T08:12:42-0500", july15, {}, nullptr},
        {iso, "2021-07-15 ", 1626307200.0, {}, nullptr},
        {iso, "2021-07-15T13:12:42+24:00", 0, Errc::out_of_range, "offset hour 24 is not 0..23"},
        {iso, "2021-07-15T13:12:60Z", 0, Errc::out_of_range, "second 60 is not at least 0 and below 60"},
        {iso, "2021-7-15", 0, Errc::parse_error, "cannot read '7-15' in '2021-7-15'"},
        {iso, "2021-07-15T13Z", 0, Errc::parse_error, "cannot read 'Z' in '2021-07-15T13Z'"},
        {iso, "1582-10-10", 0, Errc::out_of_range, "year 1582 is before 1583 (ISO 8601 dates are Gregorian)"},
    };
    for (const auto& row : rows) {
        for (const bool wide : {false, true}) {
            if (wide && row.reader != lenient) continue;  // the checked readers are UTF-8 only
            const auto result = row.reader == iso        ? quillon::read_iso_time(row.text)
                                : row.reader == monthFirst ? quillon::read_time(row.text)
                                : wide ? quillon::parse_time(quillon::to_wide(row.text))
                                       : quillon::parse_time(row.text);
            if (row.message == nullptr) {
                ASSERT_TRUE(result.ok()) << row.text << ": " << result.error().message;
                EXPECT_EQ(*result, row.t) << row.text;
            } else {
                ASSERT_FALSE(result.ok()) << row.text;
                EXPECT_EQ(result.error().code, row.code) << row.text;
                EXPECT_EQ(result.error().message, row.message);
            }
        }
    }
    const auto skipped = quillon::checked_unix_time({1582, 10, 5, 0, 0, 0.0});
    ASSERT_FALSE(skipped.ok());
    EXPECT_EQ(skipped.error().message, "1582-10-05 was skipped by the change to the Gregorian calendar");
    EXPECT_FALSE(quillon::checked_unix_time({2021, 7, 15, 0, 0, std::nan("")}).ok());
    EXPECT_EQ(quillon::checked_unix_time({1500, 2, 29, 0, 0, 0.0}).value_or(0.0),
              quillon::unix_time({1500, 3, 1, 0, 0, 0.0}) - 86400.0) << "a Julian leap day";
}

// GPS time runs ahead of UTC by the leap seconds since 1980; the second a
// leap second inserts gives 23:59:59 again.
TEST(TimeApi, LeapSecondsSeparateGpsTimeFromUtc) {
    const double newYear2017 = 1483228800.0;  // GPS - UTC 17 before, 18 from then on
    const struct {
        double utc;
        int offset;
    } offsets[] = {{315964800.0, 0}, {362793599.0, 0}, {362793600.0, 1}, {newYear2017 - 0.5, 17},
                   {newYear2017, 18}, {1626354762.0, 18}, {0.0, 0}, {std::nan(""), 0}};
    for (const auto& row : offsets) EXPECT_EQ(quillon::gps_utc_offset(row.utc), row.offset) << row.utc;
    const struct {
        double gps;
        double utc;
    } times[] = {{quillon::gps_time(2166, 393162), 1626354744.0},
                 {newYear2017 + 16.5, newYear2017 - 0.5},   // 23:59:59.5
                 {newYear2017 + 17.5, newYear2017 - 0.5},   // 23:59:60.5, on the scale the same
                 {newYear2017 + 18.0, newYear2017},
                 {quillon::kGpsEpochUnixTime, quillon::kGpsEpochUnixTime}};
    for (const auto& row : times) EXPECT_EQ(quillon::utc_of_gps_time(row.gps), row.utc) << row.gps;
}

TEST(TimeApi, CalendarTimeIsRightBeforeAndAfter1970AndJulianDatesCountFromNoon) {
    const struct {
        double t;
        quillon::CalendarTime expected;
    } rows[] = {{-1.0, {1969, 12, 31, 23, 59, 59.0}},
                {-86400.5, {1969, 12, 30, 23, 59, 59.5}},
                {-1e-9, {1969, 12, 31, 23, 59, 60.0 - 1e-9}},
                {1626354762.0, {2021, 7, 15, 13, 12, 42.0}}};
    for (const auto& row : rows) {
        const auto c = quillon::calendar_time(row.t);
        const auto& e = row.expected;
        EXPECT_EQ(c.year * 10000 + c.month * 100 + c.day, e.year * 10000 + e.month * 100 + e.day) << row.t;
        EXPECT_EQ(c.hour * 100 + c.minute, e.hour * 100 + e.minute) << row.t;
        EXPECT_NEAR(c.second, e.second, 1e-6) << row.t;
        EXPECT_LT(c.second, 60.0) << row.t;
    }
    EXPECT_EQ(quillon::julian_date(946728000.0), 2451545.0);  // J2000.0, 2000-01-01 12:00
    EXPECT_EQ(quillon::modified_julian_date(946684800.0), 51544.0);
    EXPECT_EQ(quillon::unix_time_of_julian_date(2451545.0), 946728000.0);
    EXPECT_EQ(quillon::unix_time_of_modified_julian_date(51544.0), 946684800.0);
}

TEST(TimeApi, DatesTakeYearMonthDayInThatOrder) {
    EXPECT_EQ(quillon::julian_day_number(2021, 1, 32), 2459247);  // February 1
    const auto date = quillon::civil_date(2459247);
    EXPECT_EQ(date.year * 10000 + date.month * 100 + date.day, 20210201);
}

// Weeks are whole, the seconds stay in their week, and each direction
// undoes the other within the rounding of the day count (about 1e-4 s).
TEST(TimeApi, GpsTimeOfInvertsUnixTimeOfGps) {
    std::mt19937_64 rng(1980);
    std::uniform_real_distribution<double> anyTime(-62135596800.0, 253402300799.0);  // years 1 to 9999
    std::uniform_real_distribution<double> withinWeek(0.0, 604800.0);
    std::uniform_int_distribution<int> week(-103000, 418000);  // years 1 to 9999
    std::uniform_int_distribution<int> ulps(-3, 3);
    int failures = 0;
    for (int i = 0; i < 200000 && failures < 10; ++i) {
        double t = anyTime(rng);
        if (i % 2 == 0) {  // a few ulps either side of a week boundary
            t = quillon::unix_time_of_gps(week(rng), 0.0);
            for (int k = ulps(rng); k != 0; k += k > 0 ? -1 : 1) t = std::nextafter(t, k > 0 ? 1e300 : -1e300);
        }
        const auto gps = quillon::gps_time_of(t);
        const double back = quillon::unix_time_of_gps(gps.week, gps.seconds);
        const bool ok = gps.week == std::floor(gps.week) && gps.seconds >= 0.0 && gps.seconds < 604800.0 &&
                        std::fabs(back - t) <= 2e-4;
        if (!ok && failures++ < 10)
            ADD_FAILURE() << "t " << t << ": week " << gps.week << ", seconds " << gps.seconds << ", back " << back;
    }
    for (int i = 0; i < 10000; ++i) {
        const double w = week(rng), s = withinWeek(rng);
        const auto gps = quillon::gps_time_of(quillon::unix_time_of_gps(w, s));
        if (s > 1e-3 && s < 604800.0 - 1e-3) {
            ASSERT_EQ(gps.week, w) << "seconds " << s;
        }
        ASSERT_NEAR(gps.week * 604800.0 + gps.seconds, w * 604800.0 + s, 2e-4) << "week " << w << ", seconds " << s;
    }
    EXPECT_TRUE(std::isnan(quillon::gps_time_of(std::nan("")).seconds));
}

// Each clock keeps its own time; neither touches the process's time zone,
// which only the hosts' gpsTime switches.
TEST(TimeApi, RunningClocksAreIndependentObjects) {
    const char* zone = std::getenv("TZ");
    const std::string zoneBefore = zone == nullptr ? "(unset)" : zone;
    quillon::RunningClock a, b, fresh;
    EXPECT_FALSE(a.is_set());
    a.set(1.0e9);
    b.set(2.0e9);
    const double readA = a.read(), readB = b.read();
    EXPECT_TRUE(readA == 1.0e9 || readA == 1.0e9 + 1) << readA;
    EXPECT_TRUE(readB == 2.0e9 || readB == 2.0e9 + 1) << readB;

    const double now = fresh.read();
    EXPECT_TRUE(fresh.is_set());
    EXPECT_NEAR(now, double(std::time(nullptr)), 2.0) << "a clock never set starts from the system time";
    EXPECT_FALSE(quillon::RunningClock().is_set()) << "and the others stay as they were";
    const double againA = a.read();
    EXPECT_TRUE(againA == readA || againA == readA + 1) << againA;

    a.set(std::nan(""));
    EXPECT_TRUE(std::isnan(a.read()));
    EXPECT_FALSE(std::isnan(b.read()));
    zone = std::getenv("TZ");
    EXPECT_EQ(zone == nullptr ? "(unset)" : zone, zoneBefore);
}

}  // namespace
