// A DOS time (seconds since 1970-01-01 00:00:00, 86400 to the day) split
// into civil date and time of day.
#ifndef QUILLON_TIME_DOS_CALENDAR_H
#define QUILLON_TIME_DOS_CALENDAR_H

namespace quillon::time {

constexpr double kSecondsPerDay = 86400.0;

struct CalendarTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    double second;
};

// std::fmod(dos, kSecondsPerDay), bit for bit, with a fast path for the
// times from 1970 on; *wholeDays is (dos - that remainder) / kSecondsPerDay.
double secondOfDayOf(double dos, double* wholeDays);

// 1626354762.0 -> 2021-07-15 13:12:42.0. Times before 1970 keep the date
// right but take the time of day from the negative remainder (-1.0 ->
// 1969-12-31, hour -1, minute 59, second 59.0).
CalendarTime splitDosTime(double dos);

}  // namespace quillon::time

#endif
