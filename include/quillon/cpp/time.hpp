/// @file
/// Time: one scale, seconds since 1970-01-01 00:00:00 UTC counting every day
/// as 86400 s (Unix time; the flat interface calls it DOS time), with GPS
/// week and seconds, Julian day numbers, calendar fields, month-first
/// date-time text and a settable running clock.
///
/// Julian day numbers name civil days (1970-01-01 is 2440588); dates before
/// 1582-10-15 are in the Julian calendar, later ones in the Gregorian; there
/// is no year 0 (year -1 is 1 BC).
#ifndef QUILLON_CPP_TIME_HPP
#define QUILLON_CPP_TIME_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

constexpr double kSecondsPerDay = 86400.0;      ///< every day of the scale
constexpr int kUnixEpochDay = 2440588;          ///< Julian day number of 1970-01-01
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
    int hour = 0;         ///< 0..23 (negative before 1970, see calendar_time())
    int minute = 0;       ///< 0..59
    double second = 0.0;  ///< 0 up to 60
};

/// Julian day number of a date: (1970, 1, 1) -> 2440588; (1582, 10, 15) ->
/// 2299161; (1582, 10, 4) -> 2299160. Year 0 gives 0. Months and days out of
/// range carry through the arithmetic: (2021, 1, 32) is February 1.
QUILLON_API int julian_day_number(int year, int month, int day) noexcept;
/// The date of a Julian day number, the inverse of julian_day_number() for
/// every date of the years 1 to 9999: 2451604 -> 2000-02-29.
QUILLON_API CivilDate civil_date(int julian_day_number) noexcept;

/// Seconds since 1970 of a date and time; hours, minutes and seconds beyond
/// their ranges carry (25:00 is 01:00 the next day): 2021-07-15 13:12:42 ->
/// 1626354762.
QUILLON_API double unix_time(const CalendarTime& time) noexcept;
/// The date and time of a time: 1626354762 -> 2021-07-15 13:12:42.0. Before
/// 1970 the date is right but the time of day comes from the negative
/// remainder (-1 is 1969-12-31, hour -1, minute 59, second 59), as the
/// flat interface has it.
QUILLON_API CalendarTime calendar_time(double unix_time) noexcept;
/// Day of the year, January 1 being 1: 5097600 (1970-03-01) -> 60.
QUILLON_API int day_of_year(double unix_time) noexcept;

/// GPS week and seconds of week, counted from the GPS epoch with no week
/// roll-over.
struct GpsTime {
    double week = 0.0;     ///< full weeks since 1980-01-06
    double seconds = 0.0;  ///< seconds into the week, 0 up to 604800
};
/// The time of a GPS week and seconds of week, taking GPS time equal to the
/// scale at the GPS epoch (no leap seconds), through a day count as the
/// hosts' gpsToDos does, so present-day times carry about 0.0001 s of
/// rounding: week 2000, 0 s -> 1525564800.
QUILLON_API double unix_time_of_gps(double week, double seconds_of_week) noexcept;
/// The GPS week and seconds of a time, the inverse of unix_time_of_gps().
QUILLON_API GpsTime gps_time_of(double unix_time) noexcept;

/// Longest text write_time() writes, without its terminating zero.
constexpr std::size_t kMaxTimeText = 19;
/// Writes the month-first date-time text "07-15-21 13:12:42.0" (two-digit
/// year, seconds truncated to tenths, never rounded up: 59.99 s is
/// "59.9"). 0.0 writes "" (no time); so do NaN, infinities and times whose
/// text would pass 19 characters (hours -10 to -24 of days before 1970).
QUILLON_API std::size_t write_time(char* out, std::size_t size, double unix_time) noexcept;
/// @copydoc write_time(char*, std::size_t, double)
QUILLON_API std::size_t write_time(wchar_t* out, std::size_t size, double unix_time) noexcept;
/// A time as write_time() writes it.
inline std::string format_time(double unix_time) {
    char text[kMaxTimeText + 1];
    return std::string(text, write_time(text, sizeof text, unix_time));
}

/// Reads month-first date-time text as the hosts' strToTime does: month,
/// day, year, then optional hour, minute and second, separated by anything
/// that is not a digit ("07-15-21 13:12:42.0", "7/15/2021 13:12:42", "Date 7
/// 15 21, 13h12m42s"). Two-digit years 50..99 are 1950..1999 and 00..49 are
/// 2000..2049; the year must lie in 1900..2100. Day 32 carries into the
/// next month, and hours, minutes and seconds wrap (25 is 1). parse_error
/// says which field is missing or out of range.
QUILLON_API Result<double> parse_time(std::string_view text) noexcept;
/// @copydoc parse_time(std::string_view)
QUILLON_API Result<double> parse_time(std::wstring_view text) noexcept;

/// The process clock in whole seconds, as 1000 * seconds + 100000000 (the
/// hosts' dClock): 100000000 during the first second after the library
/// loaded, 100001000 during the next.
QUILLON_API double process_clock() noexcept;

/// A settable clock of one-second resolution: the time last set plus the
/// whole seconds of process_clock() since.
class QUILLON_API RunningClock {
public:
    /// Sets the clock to t (any value but 0.0, which means "not set").
    void set(double t) noexcept;
    /// Whether set() has been called with a value other than 0.0, or read()
    /// has started the clock.
    bool is_set() const noexcept { return base_ != 0.0; }
    /// The time now: the last time set plus the seconds since; a clock never
    /// set starts from the system's time at its first read.
    double read() noexcept;

private:
    double base_ = 0.0;
    double reading_ = 0.0;
};

}  // namespace quillon

#endif
