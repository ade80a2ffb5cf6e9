#include "time/julian_day.h"

#include <climits>
#include <cmath>

#include "quillon/cpp/time.hpp"

namespace quillon::time {

// 31 * (month + 12 * year) + day of 1582-10-15: dates from there on get the
// Gregorian correction.
constexpr double kGregorianDateCode = 588829.0;

namespace {

// An integer difference of day numbers as the single-precision value the
// calendar formulas start from; exact for differences below 2^24 days.
double asSingle(double difference) { return static_cast<double>(static_cast<float>(difference)); }

// The last day of year 9999.
constexpr int kLastServedDay = 5373484;

// The Gregorian date of a day number by integer arithmetic on 400-year eras
// counted from March 1 of year 0, so leap days end a year. Both it and the
// floating-point arithmetic below invert julian_day_number on every day from
// kFirstGregorianDay to kLastServedDay (the tests walk each one), so they
// agree there; this one without the dependent floating-point divisions.
void gregorianDate(int jul, int* month, int* day, int* year) {
    // Unsigned: every count here is positive, and dividing those by constants
    // takes no sign corrections.
    const unsigned fromMarchOfYearZero = static_cast<unsigned>(jul - 1721120);  // 0000-03-01
    const unsigned era = fromMarchOfYearZero / 146097;
    const unsigned dayOfEra = fromMarchOfYearZero - era * 146097;
    const unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthFromMarch = (5 * dayOfYear + 2) / 153;
    *day = static_cast<int>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    *month = static_cast<int>(monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9);
    *year = static_cast<int>(era * 400 + yearOfEra) + (*month <= 2 ? 1 : 0);
}

}  // namespace

int wholePart(double value) {
    if (!(value == value)) return 0;
    if (value >= 2147483647.0) return INT_MAX;
    if (value <= -2147483648.0) return INT_MIN;
    return static_cast<int>(value);
}

// 2451604 -> 2000-02-29; 2299161 -> 1582-10-15; 2299160 -> 1582-10-04.
// The arithmetic is in doubles so that day numbers far outside the served
// years give defined (if meaningless) dates.
void julToYearMonthDay(int jul, int* month, int* day, int* year) {
    if (jul >= kFirstGregorianDay && jul <= kLastServedDay) {
        gregorianDate(jul, month, day, year);
        return;
    }
    const double j = jul;
    double ja = j;
    if (jul >= kFirstGregorianDay) {
        const double jalpha = std::trunc((asSingle(j - 1867216.0) - 0.25) / 36524.25);
        ja = j + 1.0 + jalpha - std::trunc(0.25 * jalpha);
    }
    const double jb = ja + 1524.0;
    const double jc = std::trunc((asSingle(jb - 2439870.0) - 122.1) / 365.25 + 6680.0);
    const double jd = std::trunc(365.0 * jc + 0.25 * jc);
    const double je = std::trunc((jb - jd) / 30.6001);
    *day = wholePart((jb - jd) - std::trunc(std::floor(30.6001 * je)));
    int m = wholePart(je - 1.0);
    if (m > 12) m -= 12;
    double y = jc - 4715.0;
    if (m > 2) y -= 1.0;
    if (y <= 0.0) y -= 1.0;
    *month = m;
    *year = wholePart(y);
}

}  // namespace quillon::time

namespace quillon {

// (1970, 1, 1) -> 2440588; (1582, 10, 15) -> 2299161; (1582, 10, 4) ->
// 2299160; (-1, 1, 1) -> 1721058. Months and days out of range carry
// through the arithmetic: (2021, 1, 32) is the day of February 1.
int julian_day_number(int year, int month, int day) noexcept {
    if (year == 0) return 0;
    const double y = year < 0 ? year + 1.0 : double(year);  // 1 BC is year 0 here
    const bool earlyMonth = month <= 2;
    const double jy = earlyMonth ? y - 1.0 : y;
    const double jm = earlyMonth ? month + 13.0 : month + 1.0;
    double jul = std::trunc(std::floor(30.6001 * jm) + std::floor(365.25 * jy) + day + 1720995.0);
    if (31.0 * (month + 12.0 * y) + day >= time::kGregorianDateCode) {
        const double ja = std::trunc(0.01 * jy);
        jul += 2.0 - ja + std::trunc(0.25 * ja);
    }
    return time::wholePart(jul);
}

CivilDate civil_date(int julian_day_number) noexcept {
    CivilDate date;
    time::julToYearMonthDay(julian_day_number, &date.month, &date.day, &date.year);
    return date;
}

}  // namespace quillon
