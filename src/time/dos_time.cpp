// Conversions between DOS time, GPS week and seconds and calendar fields.
#include <cmath>

#include "quillon/timescale.h"
#include "time/dos_calendar.h"
#include "time/julian_day.h"

namespace quillon::time {

namespace {

// The day number of the day a time falls on, consistent with the time of day
// taken from the remainder: whole days are t minus the remainder (an exact
// multiple of 86400), so a time a few microseconds before midnight stays on
// its own day; a negative remainder belongs to the day before (-1.0 is on
// 1969-12-31, at hour -1).
int dayNumberOf(double dos, double secondOfDay) {
    const double wholeDays = (dos - secondOfDay) / kSecondsPerDay;
    return wholePart(wholeDays + kDosEpochDay - (secondOfDay < 0.0 ? 1.0 : 0.0));
}

}  // namespace

CalendarTime splitDosTime(double dos) {
    CalendarTime c{};
    const double secondOfDay = std::fmod(dos, kSecondsPerDay);  // with the sign of dos
    julToYearMonthDay(dayNumberOf(dos, secondOfDay), &c.month, &c.day, &c.year);
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
