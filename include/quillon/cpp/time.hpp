/// @file
/// Time: one scale, seconds since 1970-01-01 00:00:00 UTC counting every day
/// as 86400 s (Unix time; the flat interface calls it DOS time), with GPS
/// week and seconds, Julian day numbers, calendar fields, month-first
/// date-time text and a settable running clock.
///
/// Julian day numbers name civil days (1970-01-01 is 2440588); dates before
/// 1582-10-15 are in the Julian calendar, later ones in the Gregorian; there
/// is no year 0 (year -1 is 1 BC). The served years are 1 to 9999; the
/// functions stay defined (no trap, no undefined behaviour) for any
/// argument. Every function here is reentrant and none allocates, except
/// format_time(), and the readers for the message of an error.
#ifndef QUILLON_CPP_TIME_HPP
#define QUILLON_CPP_TIME_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

constexpr double kSecondsPerDay = 86400.0;         ///< every day of the scale
constexpr int kUnixEpochDay = 2440588;             ///< Julian day number of 1970-01-01
constexpr double kGpsEpochUnixTime = 315964800.0;  ///< 1980-01-06 00:00:00, the GPS epoch

/// A civil date.
struct CivilDate {
    int year = 1970;  ///< no year 0: -1 is 1 BC
    int month = 1;    ///< 1..12
    int day = 1;      ///< 1..31
};

/// A date and time of day.
struct CalendarTime {
    int year = 1970;      ///< no year 0
    int month = 1;        ///< 1..12
    int day = 1;          ///< 1..31
    int hour = 0;         ///< 0..23
    int minute = 0;       ///< 0..59
    double second = 0.0;  ///< 0 up to 60
};

/// Julian day number of a date: (1970, 1, 1) -> 2440588; (1582, 10, 15) ->
/// 2299161; (1582, 10, 4) -> 2299160 (consecutive across the change of
/// calendar); (-1, 1, 1) -> 1721058. Year 0 gives 0. Months and days out of
/// range carry through the arithmetic: (2021, 1, 32) is February 1. Any
/// arguments give a defined value; outside the years -4713..9999 it means
/// nothing (and saturates at the int range).
QUILLON_API int julian_day_number(int year, int month, int day) noexcept;
/// The date of a Julian day number, the inverse of julian_day_number() for
/// every date of the years 1 to 9999: 2451604 -> 2000-02-29; 2299160 ->
/// 1582-10-04. Any number gives a defined date, meaningless far outside.
QUILLON_API CivilDate civil_date(int julian_day_number) noexcept;

/// Days in a month of the calendar of julian_day_number(): 28 to 31, the
/// Julian leap years (every fourth) before 1582 and the Gregorian ones from
/// 1582 on; October 1582 counts 31 days, although its days 5 to 14 never
/// were (checked_unix_time() refuses them). 0 for a month outside 1..12 or
/// the year 0.
QUILLON_API int days_in_month(int year, int month) noexcept;

/// Seconds since 1970 of a date and time, in double precision as (days *
/// 86400 + 3600 * hour + 60 * minute) + second; hours, minutes and seconds
/// beyond their ranges, negative ones included, carry (25:00 is 01:00 the
/// next day): 2021-07-15 13:12:42 -> 1626354762. Exact for whole seconds of
/// the served years; the date is taken as julian_day_number() takes it.
QUILLON_API double unix_time(const CalendarTime& time) noexcept;
/// unix_time() of fields that are all within their ranges, for dates a user
/// gave: year 1 to 9999, month 1..12, day 1 to days_in_month() (and not
/// 1582-10-05 to 1582-10-14, which the change of calendar skipped), hour
/// 0..23, minute 0..59, second at least 0 and below 60 (a leap second,
/// 23:59:60, has no time on this scale). Errors: out_of_range naming the
/// first field outside its range as given ("day 30 is not 1..28 in February
/// 2021", "hour 25 is not 0..23", "second 60 is not at least 0 and below
/// 60", "1582-10-05 was skipped by the change to the Gregorian calendar");
/// no_memory when the message cannot be stored.
QUILLON_API Result<double> checked_unix_time(const CalendarTime& time) noexcept;

/// The date and time of a time, the inverse of unix_time() for fields
/// within their ranges: 1626354762 -> 2021-07-15 13:12:42.0;
/// 1626393599.99999 -> 2021-07-15 23:59:59.99999 and -1e-9 -> 1969-12-31
/// 23:59:59.999999999 (never rounded into the next day); -1 -> 1969-12-31
/// 23:59:59. The second is the remainder of the time past the minute, exact
/// to the double for the times of the served years. NaN and infinities give
/// defined, meaningless fields. (The hosts' dosToYearMonthDay takes the time
/// of day before 1970 from the negative remainder instead, hour -1 for -1:
/// that is the flat interface's alone.)
QUILLON_API CalendarTime calendar_time(double unix_time) noexcept;
/// Day of the year of a time, January 1 being 1: 5097600 (1970-03-01) -> 60;
/// 1640908800 (2021-12-31) -> 365.
QUILLON_API int day_of_year(double unix_time) noexcept;

/// GPS week and seconds of week, counted from the GPS epoch with no week
/// roll-over.
struct GpsTime {
    double week = 0.0;     ///< whole weeks since 1980-01-06, negative before it
    double seconds = 0.0;  ///< seconds into the week, 0 up to (not including) 604800
};
/// The time of a GPS week and seconds of week, taking GPS time equal to the
/// scale at the GPS epoch (no leap seconds), through a day count as the
/// hosts' gpsToDos does: (7 * week + 2444245 + seconds / 86400 - 2440588) *
/// 86400, so present-day times carry up to about 0.0001 s of rounding
/// (whole weeks are exact): week 0, 0 s -> 315964800; week 2000, 0 s ->
/// 1525564800. Any values, fractional and negative ones included.
QUILLON_API double unix_time_of_gps(double week, double seconds_of_week) noexcept;
/// The GPS week and seconds of a time, the inverse of unix_time_of_gps():
/// week = floor((t - kGpsEpochUnixTime) / 604800) and seconds = t -
/// unix_time_of_gps(week, 0). For the times of the years 1 to 9999 the
/// seconds are exact, at least 0 and below 604800 (a time a rounding step
/// before a week's end stays in that week, at the largest double below
/// 604800 if need be), and unix_time_of_gps() of the result is t within its
/// rounding, 2e-4 s. Far beyond those years the seconds are lost in the
/// rounding of the time. NaN and infinities give NaN seconds.
QUILLON_API GpsTime gps_time_of(double unix_time) noexcept;

/// GPS time on the scale of unix_time_of_gps(), exactly: kGpsEpochUnixTime
/// + 604800 * week + seconds_of_week, with no day count in between, so a
/// present-day time keeps the double's resolution (about 2.4e-7 s) rather
/// than unix_time_of_gps()'s 1e-4 s. GPS time runs ahead of UTC by the leap
/// seconds since 1980 (gps_utc_offset()); utc_of_gps_time() removes them.
constexpr double gps_time(double week, double seconds_of_week) noexcept {
    return kGpsEpochUnixTime + 604800.0 * week + seconds_of_week;
}

/// The leap seconds table below holds every leap second announced up to
/// this time, 2026-06-28 00:00:00 UTC (the expiry of the IERS list it was
/// last checked against): later ones are not known.
constexpr double kLeapSecondsKnownUntil = 1782604800.0;

/// GPS time minus UTC, in whole seconds, at a UTC time (seconds since 1970
/// as everywhere here): 0 from the GPS epoch, 1980-01-06, rising by one at
/// each leap second to 18 from 2017-01-01 on: 1626354762 (2021-07-15) -> 18;
/// 315964800 (1980-01-06) -> 0. 0 before 1980-01-06 too, when GPS time was
/// not kept, and NaN gives 0. After kLeapSecondsKnownUntil the last offset
/// is given, which a leap second announced since would make wrong.
///
/// The table is that of IERS Bulletin C, which announces every January and
/// July whether a leap second ends the next June or December; the source
/// file says how to bring it up to date.
QUILLON_API int gps_utc_offset(double unix_time) noexcept;
/// The UTC of a GPS time (seconds since 1970 on the GPS scale, as
/// gps_time() gives): gps_time minus the offset in force, gps_time(2166,
/// 393162) -> 1626354744 (13:12:24 UTC, 18 s before 13:12:42 GPS). The
/// second a leap second inserts, 23:59:60 UTC, has no time of its own on
/// this scale: its GPS times give 23:59:59 again (as Unix clocks repeat
/// it). The same range and table as gps_utc_offset().
QUILLON_API double utc_of_gps_time(double gps_time) noexcept;

/// Julian date of 1970-01-01 00:00:00 UTC: Julian dates count days from noon.
constexpr double kUnixEpochJulianDate = 2440587.5;
/// Modified Julian date of 1970-01-01: MJD = JD - 2400000.5, days from midnight.
constexpr double kUnixEpochModifiedJulianDate = 40587.0;
/// The Julian date (days and fraction since noon of 4713-01-01 BC, Julian
/// calendar) of a time, counting its days of 86400 s: 1626354762 ->
/// 2459411.050486111. To the double, whose step near the present is 4.7e-10
/// day (40 microseconds).
constexpr double julian_date(double unix_time) noexcept { return unix_time / kSecondsPerDay + kUnixEpochJulianDate; }
/// The time of a Julian date, the inverse of julian_date() to within the
/// double's steps (40 microseconds at present-day dates).
constexpr double unix_time_of_julian_date(double julian_date) noexcept {
    return (julian_date - kUnixEpochJulianDate) * kSecondsPerDay;
}
/// The modified Julian date of a time: 1626354762 -> 59410.550486111. To
/// the double, whose step near the present is 7.3e-12 day (0.6
/// microseconds).
constexpr double modified_julian_date(double unix_time) noexcept {
    return unix_time / kSecondsPerDay + kUnixEpochModifiedJulianDate;
}
/// The time of a modified Julian date, the inverse of modified_julian_date().
constexpr double unix_time_of_modified_julian_date(double mjd) noexcept {
    return (mjd - kUnixEpochModifiedJulianDate) * kSecondsPerDay;
}

/// Longest text write_time() writes, without its terminating zero.
constexpr std::size_t kMaxTimeText = 19;
/// Writes the month-first date-time text "07-15-21 13:12:42.0": month, day,
/// the year modulo 100, hour and minute as two digits each, the seconds
/// truncated to tenths, never rounded up (59.99 s is "59.9"; printf's
/// "%02d-%02d-%02d %02d:%02d:%04.1f" of the fields of calendar_time(), with
/// the hosts' hour -1 .. -24 before 1970). 0.0
/// writes "" (no time); so do NaN, infinities and times whose text would
/// pass 19 characters (hours -10 to -24 of days before 1970: -1 writes
/// "12-31-69 -1:59:59.0", -36000 writes "").
/// @param out       the buffer; may be null when size is 0
/// @param size      its size in code units, terminating zero included
/// @param unix_time the time
/// @return the length of the text, or 0 when there is none or it does not
///         fit size (an empty text is written then if size > 0)
QUILLON_API std::size_t write_time(char* out, std::size_t size, double unix_time) noexcept;
/// @copydoc write_time(char*, std::size_t, double)
QUILLON_API std::size_t write_time(wchar_t* out, std::size_t size, double unix_time) noexcept;
/// A time as write_time() writes it. Throws std::bad_alloc only if the
/// string cannot be allocated.
inline std::string format_time(double unix_time) {
    char text[kMaxTimeText + 1];
    return std::string(text, write_time(text, sizeof text, unix_time));
}

/// Reads month-first date-time text as the hosts' strToTime does: month,
/// day, year, then optional hour, minute and second, separated by anything
/// that is not a digit ("07-15-21 13:12:42.0", "7/15/2021 13:12:42", "Date 7
/// 15 21, 13h12m42s"); nothing after the seconds is looked at. The month is
/// a run of up to 15 digits and points read as a number whose integer part
/// counts ("7.5" is July; "07.15.21" is all month, and leaves no day); the
/// day up to 2 digits, 1..32 (32 and days past a month's end carry into the
/// next month); the year 2 to 4 digits: two-digit years 50..99 are
/// 1950..1999 and 00..49 are 2000..2049, and the year must lie in
/// 1900..2100. Hours and minutes are up to 2 digits and wrap (25 is 1,
/// minute 75 is 15); the seconds up to 6 digits and points, modulo 60.
/// The value is unix_time() of the fields.
/// Errors: parse_error for a missing field or a year of one digit ("no
/// month", "no day", "no year", "year 5 has fewer than 2 digits"),
/// out_of_range for a field outside its range ("month 13 is not 1..12",
/// "day 0 is not 1..32", "year 1899 is outside 1900..2100"; the field as
/// typed).
QUILLON_API Result<double> parse_time(std::string_view text) noexcept;
/// @copydoc parse_time(std::string_view)
QUILLON_API Result<double> parse_time(std::wstring_view text) noexcept;

/// Reads a whole month-first date-time text and nothing else, as a program
/// should read one a user typed: blanks, month (1 or 2 digits), day (1 or
/// 2), year (2 or 4 digits), the three separated by "-" or "/" (the same
/// twice; not ".", which would take the day-first "03.04.21" for March 4),
/// then optionally blanks and the time hh:mm or hh:mm:ss
/// with optional decimals of the second (hour and minute 1 or 2 digits,
/// second 2 before its point), blanks and the end: "07-15-21 13:12:42.0",
/// "7/15/2021 13:12". Two-digit years are 1950..1999 for 50..99 and
/// 2000..2049 for 00..49, as parse_time() has them; four-digit years lie in
/// 1900..2100. The fields must lie in their ranges, as checked_unix_time()
/// checks them, and the value is unix_time() of them, UTC. parse_time() is
/// the lenient reader.
/// Errors: parse_error that names what could not be read ("no month in
/// ''", "cannot read 'PM' in '07-15-21 1:12 PM'", "cannot read '+02:00' in
/// ..."), out_of_range for a field outside its range ("year 1850 is outside
/// 1900..2100", "hour 25 is not 0..23", "day 30 is not 1..28 in February
/// 2021"), no_memory when the message cannot be stored.
QUILLON_API Result<double> read_time(std::string_view text) noexcept;

/// Reads a whole ISO 8601 date or date and time in the extended format,
/// and nothing else: blanks, YYYY-MM-DD, optionally "T" (or "t", or one
/// blank) and hh:mm, hh:mm:ss or hh:mm:ss with decimals after "." or ",",
/// then optionally a zone, "Z" or an offset +hh:mm, +hhmm or +hh (or "-"),
/// then blanks and the end: "2021-07-15T13:12:42Z", "2021-07-15 13:12:42",
/// "2021-07-15T15:12:42.5+02:00", "2021-07-15". The value is the UTC time:
/// the offset is subtracted, and a time without a zone is taken as UTC (the
/// library keeps no time zones); a date alone is its midnight. Years lie in
/// 1583..9999: ISO 8601 dates are Gregorian, and before 1583 they would
/// disagree with the library's Julian calendar. The fields must lie in their
/// ranges as checked_unix_time() checks them; offsets up to 23:59.
/// Errors: parse_error naming what could not be read ("cannot read
/// 'T25' in ..."), out_of_range for a field outside its range, no_memory
/// when the message cannot be stored.
QUILLON_API Result<double> read_iso_time(std::string_view text) noexcept;

/// The process clock in whole seconds since the library was loaded (wall
/// time, not processor time), as 1000 * seconds + 100000000, the hosts'
/// dClock: 100000000 during the first second, 100001000 during the next.
/// A clock the system cannot read counts as 0 seconds. Reentrant.
QUILLON_API double process_clock() noexcept;

/// A settable clock of one-second resolution: the time last set plus the
/// whole seconds process_clock() counted since. Each object holds all of
/// its state; two objects never meet, and one object needs one thread at a
/// time. Unlike the hosts' gpsTime, it never changes the process's time
/// zone.
class QUILLON_API RunningClock {
public:
    /// Sets the clock to t, seconds since 1970, and starts counting from
    /// now. 0.0 means "not set": the next read() starts from the system's
    /// time. NaN makes every read() NaN until the next set().
    void set(double t) noexcept;
    /// Whether the clock holds a time: set() with a value other than 0.0,
    /// or a read() that started it.
    bool is_set() const noexcept { return base_ != 0.0; }
    /// The time now, in whole seconds past the time set: that time plus the
    /// seconds counted since (1.0e9 set, then read 2.5 s later -> 1.0e9 + 2,
    /// or + 3 when a second boundary passed between the two readings). A
    /// clock not set starts from the system's time in whole seconds at this
    /// first read.
    double read() noexcept;

private:
    double base_ = 0.0;     // the time set; 0.0 while unset
    double reading_ = 0.0;  // process_clock() when it was set
};

}  // namespace quillon

#endif
