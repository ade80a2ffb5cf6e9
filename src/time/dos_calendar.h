// A time (seconds since 1970-01-01 00:00:00, 86400 to the day) split into
// civil date and time of day.
#ifndef QUILLON_TIME_DOS_CALENDAR_H
#define QUILLON_TIME_DOS_CALENDAR_H

#include "quillon/cpp/time.hpp"

namespace quillon::time {

// std::fmod(t, kSecondsPerDay), bit for bit, with a fast path for the
// times from 1970 on; *wholeDays is (t - that remainder) / kSecondsPerDay.
double secondOfDayOf(double t, double* wholeDays);

// 1626354762.0 -> 2021-07-15 13:12:42.0, as the hosts split a time: before
// 1970 the date is right but the time of day comes from the negative
// remainder (-1.0 -> 1969-12-31, hour -1, minute 59, second 59.0). The
// hosts' calendar functions and date-time text are this.
CalendarTime splitTime(double t);
// The same with the time of day right before 1970 too (-1.0 -> 1969-12-31
// 23:59:59.0), and the same fields from 1970 on: calendar_time().
CalendarTime civilTime(double t);

}  // namespace quillon::time

#endif
