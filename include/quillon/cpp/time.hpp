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
/// format_time() and parse_time() for the message of an error.
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
    int hour = 0;         ///< 0..23 (-24..-1 before 1970, see calendar_time())
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

/// Seconds since 1970 of a date and time, in double precision as (days *
/// 86400 + 3600 * hour + 60 * minute) + second; hours, minutes and seconds
/// beyond their ranges, negative ones included, carry (25:00 is 01:00 the
/// next day): 2021-07-15 13:12:42 -> 1626354762. Exact for whole seconds of
/// the served years; the date is taken as julian_day_number() takes it.
QUILLON_API double unix_time(const CalendarTime& time) noexcept;
/// The date and time of a time: 1626354762 -> 2021-07-15 13:12:42.0;
/// 1626393599.99999 -> 2021-07-15 23:59:59.99999 (never rounded into the
/// next day). The second is the remainder of the time past the minute,
/// exact to the double. Before 1970 the date is right but the time of day
/// comes from the negative remainder (-1 is 1969-12-31, hour -1, minute 59,
/// second 59), as the flat interface has it. NaN and infinities give
/// defined, meaningless fields.
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

/// Longest text write_time() writes, without its terminating zero.
constexpr std::size_t kMaxTimeText = 19;
/// Writes the month-first date-time text "07-15-21 13:12:42.0": month, day,
/// the year modulo 100, hour and minute as two digits each, the seconds
/// truncated to tenths, never rounded up (59.99 s is "59.9"; printf's
/// "%02d-%02d-%02d %02d:%02d:%04.1f" of the fields of calendar_time()). 0.0
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
