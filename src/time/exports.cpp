// The hosts' time functions, over the C++ API. What only hosts were promised
// stays here: the hosts' split of times before 1970 (hour -1 for the last
// second of 1969), the process-wide running clock of gpsTime and the switch of
// the process's time zone at its first read, 0.0 for text that is not a
// date, and the fixed 20-character buffer of timeToStr.
#include <string_view>

#include "platform/platform.h"
#include "quillon/cpp/time.hpp"
#include "quillon/timescale.h"
#include "time/dos_calendar.h"

namespace {

// Process-wide and unlocked: callers serialise gpsTime.
quillon::RunningClock hostClock;

}  // namespace

int julDate(int month, int day, int year) { return quillon::julian_day_number(year, month, day); }

double yearMonthDayToDos(int year, int month, int day, int hour, int minute, double second) {
    return quillon::unix_time({year, month, day, hour, minute, second});
}

void dosToYearMonthDay(double dos, int* year, int* month, int* day, int* hour, int* minute, double* second) {
    const auto c = quillon::time::splitTime(dos);  // hour -1 for a second before 1970, as hosts had it
    *year = c.year;
    *month = c.month;
    *day = c.day;
    *hour = c.hour;
    *minute = c.minute;
    *second = c.second;
}

void dosToYearJulDay(double dos, int* year, int* dayOfYear, int* hour, int* minute, double* second) {
    const auto c = quillon::time::splitTime(dos);
    *year = c.year;
    *dayOfYear = quillon::day_of_year(dos);
    *hour = c.hour;
    *minute = c.minute;
    *second = c.second;
}

double gpsToDos(double week, double secondsOfWeek) { return quillon::unix_time_of_gps(week, secondsOfWeek); }

double dClock() { return quillon::process_clock(); }

// The first read of a clock never set starts it from the system clock and,
// for the whole process, makes local time GMT.
double gpsTime(double t) {
    if (t != 0.0) {
        hostClock.set(t);
    } else if (!hostClock.is_set()) {
        quillon::platform::switchTimeZoneToGmt();
    }
    return hostClock.read();
}

int timeToStr(wchar_t* out, double dos) {
    return static_cast<int>(quillon::write_time(out, quillon::kMaxTimeText + 1, dos));
}

double strToTime(const wchar_t* text) { return quillon::parse_time(std::wstring_view(text)).value_or(0.0); }
