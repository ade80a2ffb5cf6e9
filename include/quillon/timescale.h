/// @file
/// Time: one scale ("DOS time"), a double counting seconds since
/// 1970-01-01 00:00:00 with 86400 seconds a day, no leap seconds and no zone.
/// GPS time is week and seconds of week since 1980-01-06 (DOS 315964800),
/// with no leap-second offset and no roll-over. Julian day numbers name civil
/// days (1970-01-01 is 2440588); dates before 1582-10-15 are Julian calendar.
#ifndef QUILLON_TIMESCALE_H
#define QUILLON_TIMESCALE_H

#include <quillon/export.h>
#include <wchar.h>

/// Julian day number of a date; 0 when year is 0 (year -1 is 1 BC).
QUILLON_C QUILLON_API int julDate(int month, int day, int year);
/// DOS time of a date and time; hours, minutes and seconds beyond their
/// ranges carry: (2021, 7, 15, 13, 12, 42.0) -> 1626354762.0.
QUILLON_C QUILLON_API double yearMonthDayToDos(int year, int month, int day, int hour, int minute,
                                               double second);
/// Date and time of a DOS time: 951782400.0 -> 2000, 2, 29, 0, 0, 0.0.
/// Before 1970 the date is right and the hour negative (-1.0 -> 1969-12-31,
/// hour -1, minute 59, second 59.0).
QUILLON_C QUILLON_API void dosToYearMonthDay(double dos, int* year, int* month, int* day, int* hour,
                                             int* minute, double* second);
/// As dosToYearMonthDay with the day of the year (January 1 is 1) for month
/// and day: 5097600.0 (1970-03-01) -> 1970, 60.
QUILLON_C QUILLON_API void dosToYearJulDay(double dos, int* year, int* dayOfYear, int* hour,
                                           int* minute, double* second);
/// DOS time of a GPS week and seconds of week, through a day count (about
/// 0.0001 s of rounding for present-day weeks): week 2000, 0 -> 1525564800.0.
QUILLON_C QUILLON_API double gpsToDos(double week, double secondsOfWeek);
/// Whole seconds of wall-clock time since the process started, as
/// 1000 * seconds + 100000000.
QUILLON_C QUILLON_API double dClock();
/// The running clock, in whole seconds: a non-zero t sets it; 0.0 reads it.
/// The first read of an unset clock starts it from the system time and
/// switches the process's time zone to GMT. Setting NaN makes every read NaN
/// until the next set.
QUILLON_C QUILLON_API double gpsTime(double t);

/// "07-15-21 13:12:42.0" (month-first, two-digit year, seconds truncated to
/// tenths); 0.0 writes "". The buffer holds at least 20 characters: NaN,
/// infinities and times whose text would pass 19 characters also write ""
/// (before 1970 the hour of day is negative, -1 to -24, and before year 1 the
/// year is too: "12-31-69 -1:59:59.0" is written, hour -10 is not).
/// Returns the length.
QUILLON_C QUILLON_API int timeToStr(wchar_t* out, double dos);
/// Reads month, day, year [hour [minute [second]]] separated by anything but
/// digits; 0.0 when the text is not a valid date.
QUILLON_C QUILLON_API double strToTime(const wchar_t* text);

#endif
