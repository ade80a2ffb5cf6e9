// Conversions between DOS time, GPS week and seconds and calendar fields.
#include <cmath>

#include "quillon/timescale.h"
#include "time/dos_calendar.h"
#include "time/julian_day.h"

namespace quillon::time {

// fmod(dos, 86400) for 0 < dos < 2^32, the times of the served years and
// well beyond, without fmod's general loop: below 2^32 the product of the
// day count and 86400 and the difference are exact, and a quotient rounded
// across a day boundary leaves a remainder one day out, put back exactly.
// The whole days are t minus the remainder over 86400, an exact division,
// which on that path is the day count itself.
double secondOfDayOf(double dos, double* wholeDays) {
    if (!(dos > 0.0 && dos < 4294967296.0)) {
        const double second = std::fmod(dos, kSecondsPerDay);  // with the sign of dos
        *wholeDays = (dos - second) / kSecondsPerDay;
        return second;
    }
    double days = std::floor(dos / kSecondsPerDay);
    double second = dos - days * kSecondsPerDay;
    if (second < 0.0) {
        second += kSecondsPerDay;
        days -= 1.0;
    } else if (second >= kSecondsPerDay) {
        second -= kSecondsPerDay;
        days += 1.0;
    }
    *wholeDays = days;
    return second;
}

CalendarTime splitDosTime(double dos) {
    CalendarTime c{};
    double wholeDays = 0.0;
    const double secondOfDay = secondOfDayOf(dos, &wholeDays);
    // A time a few microseconds before midnight stays on its own day; a
    // negative remainder belongs to the day before (-1.0 is on 1969-12-31,
    // at hour -1).
    const int dayNumber = wholePart(wholeDays + kDosEpochDay - (secondOfDay < 0.0 ? 1.0 : 0.0));
    julToYearMonthDay(dayNumber, &c.month, &c.day, &c.year);
    c.hour = wholePart(std::floor(secondOfDay / 3600.0));
    const double secondOfHour = secondOfDay - 3600.0 * c.hour;
    c.minute = wholePart(std::floor(secondOfHour / 60.0));
    c.second = secondOfHour - 60.0 * c.minute;
    return c;
}

}  // namespace quillon::time

namespace {

// Day number of the GPS epoch, 1980-01-06 (DOS time 315964800).
constexpr double kGpsEpochDay = 2444245.0;

}  // namespace

using quillon::time::kDosEpochDay;
using quillon::time::kSecondsPerDay;

// (2021, 7, 15, 13, 12, 42.0) -> 1626354762.0; hours, minutes and seconds
// beyond their ranges carry into the next unit.
double yearMonthDayToDos(int year, int month, int day, int hour, int minute, double second) {
    const double days = static_cast<double>(julDate(month, day, year)) - kDosEpochDay;
    return days * kSecondsPerDay + 3600.0 * hour + 60.0 * minute + second;
}

// 951782400.0 -> 2000, 2, 29, 0, 0, 0.0.
void dosToYearMonthDay(double dos, int* year, int* month, int* day, int* hour, int* minute,
                       double* second) {
    const auto c = quillon::time::splitDosTime(dos);
    *year = c.year;
    *month = c.month;
    *day = c.day;
    *hour = c.hour;
    *minute = c.minute;
    *second = c.second;
}

// 5097600.0 (1970-03-01) -> 1970, day 60 (January 1 is day 1).
void dosToYearJulDay(double dos, int* year, int* dayOfYear, int* hour, int* minute, double* second) {
    const auto c = quillon::time::splitDosTime(dos);
    *year = c.year;
    const double dayNumber = julDate(c.month, c.day, c.year);
    *dayOfYear = quillon::time::wholePart(dayNumber + 1.0 - julDate(1, 1, c.year));
    *hour = c.hour;
    *minute = c.minute;
    *second = c.second;
}

// Week 0 -> 315964800.0; week 2000 -> 1525564800.0. The value passes through
// a day count, as hosts expect, so it carries about 0.0001 s of rounding.
double gpsToDos(double week, double secondsOfWeek) {
    return (7.0 * week + kGpsEpochDay + secondsOfWeek / kSecondsPerDay - kDosEpochDay) *
           kSecondsPerDay;
}
