// Julian day numbers and civil dates: Julian calendar up to 1582-10-04,
// Gregorian from 1582-10-15 (day number 2299161); no year 0, year -1 is 1 BC.
#ifndef QUILLON_TIME_JULIAN_DAY_H
#define QUILLON_TIME_JULIAN_DAY_H

namespace quillon::time {

// The first Gregorian day, 1582-10-15.
constexpr int kFirstGregorianDay = 2299161;

// The date of a day number: the inverse of julian_day_number for every date
// of years 1 to 9999. 2451604 -> 2, 29, 2000.
void julToYearMonthDay(int jul, int* month, int* day, int* year);

// The integer part (toward zero) of value as an int; values beyond the int
// range give its nearest end and NaN gives 0, so day and field arithmetic
// on times outside the served range stays defined.
int wholePart(double value);

}  // namespace quillon::time

#endif
