// Conversions between the time scale, GPS week and seconds and calendar
// fields.
#include <cmath>

#include "quillon/cpp/time.hpp"
#include "time/dos_calendar.h"
#include "time/julian_day.h"

namespace quillon::time {

// fmod(t, 86400) for 0 < t < 2^32, the times of the served years and well
// beyond, without fmod's general loop: below 2^32 the product of the day
// count and 86400 and the difference are exact, and a quotient rounded
// across a day boundary leaves a remainder one day out, put back exactly.
// The whole days are t minus the remainder over 86400, an exact division,
// which on that path is the day count itself.
double secondOfDayOf(double t, double* wholeDays) {
    if (!(t > 0.0 && t < 4294967296.0)) {
        const double second = std::fmod(t, kSecondsPerDay);  // with the sign of t
        *wholeDays = (t - second) / kSecondsPerDay;
        return second;
    }
    // The remainder below puts any estimate one day out back, so a product
    // with the reciprocal serves as well as the slower quotient.
    // (t is positive, so truncation through an integer is the floor.)
    double days = static_cast<double>(static_cast<long long>(t * (1.0 / kSecondsPerDay)));
    double second = t - days * kSecondsPerDay;
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

namespace {

// floor(x / divisor) as the rounded quotient gives it. The product with the
// reciprocal and that quotient are both within a few units in the last place
// of the exact x / divisor, so where the product is farther than that from a
// whole number, both have the same floor; only next to one (an exact hour, a
// tie that rounds up onto it) is the division needed. Negative, huge and
// non-finite values take the division too.
double floorOfQuotient(double x, double divisor) {
    const double estimate = x * (1.0 / divisor);
    if (estimate >= 0.0 && estimate < 2147483648.0) {
        const double whole = static_cast<double>(static_cast<int>(estimate));
        const double part = estimate - whole;
        constexpr double kMargin = 1e-6;  // far above the rounding of quotients below 2^31
        if (part > kMargin && part < 1.0 - kMargin) return whole;
    }
    return std::floor(x / divisor);
}

// The fields of a Julian day number and a second of that day.
CalendarTime fieldsOf(double dayNumber, double secondOfDay) {
    CalendarTime c;
    julToYearMonthDay(wholePart(dayNumber), &c.month, &c.day, &c.year);
    c.hour = wholePart(floorOfQuotient(secondOfDay, 3600.0));
    const double secondOfHour = secondOfDay - 3600.0 * c.hour;
    c.minute = wholePart(floorOfQuotient(secondOfHour, 60.0));
    c.second = secondOfHour - 60.0 * c.minute;
    return c;
}

}  // namespace

CalendarTime splitTime(double t) {
    double wholeDays = 0.0;
    const double secondOfDay = secondOfDayOf(t, &wholeDays);
    // A time a few microseconds before midnight stays on its own day; a
    // negative remainder belongs to the day before (-1.0 is on 1969-12-31,
    // at hour -1).
    return fieldsOf(wholeDays + kUnixEpochDay - (secondOfDay < 0.0 ? 1.0 : 0.0), secondOfDay);
}

// Before 1970 the remainder counts back from the next midnight: -1.0 is
// 86399 s into 1969-12-31. A remainder too small to leave 86400 s when
// added stays just below it, on its own day.
CalendarTime civilTime(double t) {
    double wholeDays = 0.0;
    double secondOfDay = secondOfDayOf(t, &wholeDays);
    if (secondOfDay < 0.0) {
        wholeDays -= 1.0;
        secondOfDay += kSecondsPerDay;
        if (secondOfDay >= kSecondsPerDay) secondOfDay = std::nextafter(kSecondsPerDay, 0.0);
    }
    return fieldsOf(wholeDays + kUnixEpochDay, secondOfDay);
}

}  // namespace quillon::time

namespace quillon {
namespace {

// Day number of the GPS epoch, 1980-01-06.
constexpr double kGpsEpochDay = 2444245.0;
constexpr double kSecondsPerWeek = 7.0 * kSecondsPerDay;

}  // namespace

// 2021-07-15 13:12:42.0 -> 1626354762.0; hours, minutes and seconds beyond
// their ranges carry into the next unit.
double unix_time(const CalendarTime& time) noexcept {
    const double days = static_cast<double>(julian_day_number(time.year, time.month, time.day)) - kUnixEpochDay;
    return days * kSecondsPerDay + 3600.0 * time.hour + 60.0 * time.minute + time.second;
}

CalendarTime calendar_time(double unix_time) noexcept { return time::civilTime(unix_time); }

// 5097600.0 (1970-03-01) -> 60 (January 1 is day 1). The day numbers are
// subtracted as doubles so that no year makes the difference overflow.
int day_of_year(double unix_time) noexcept {
    const CalendarTime c = time::splitTime(unix_time);
    const double dayNumber = julian_day_number(c.year, c.month, c.day);
    return time::wholePart(dayNumber + 1.0 - julian_day_number(c.year, 1, 1));
}

// Week 0 -> 315964800.0; week 2000 -> 1525564800.0. The value passes through
// a day count, as hosts expect, so it carries about 0.0001 s of rounding.
double unix_time_of_gps(double week, double seconds_of_week) noexcept {
    return (7.0 * week + kGpsEpochDay + seconds_of_week / kSecondsPerDay - kUnixEpochDay) * kSecondsPerDay;
}

// The time of a whole week is exact, so the seconds are the time's own
// distance from its week's start. A quotient rounded up onto a week boundary
// would leave them a rounding step below 0: that time belongs to the week
// before, where its distance may round up to a whole week (a time 3e-11 s
// before one, near 1970), which is kept just below it.
GpsTime gps_time_of(double unix_time) noexcept {
    GpsTime gps;
    gps.week = std::floor((unix_time - kGpsEpochUnixTime) / kSecondsPerWeek);
    gps.seconds = unix_time - unix_time_of_gps(gps.week, 0.0);
    if (gps.seconds < 0.0) {
        gps.week -= 1.0;
        gps.seconds = unix_time - unix_time_of_gps(gps.week, 0.0);
    }
    if (gps.seconds >= kSecondsPerWeek) gps.seconds = std::nextafter(kSecondsPerWeek, 0.0);
    return gps;
}

}  // namespace quillon
