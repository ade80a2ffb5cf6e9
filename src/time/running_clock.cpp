// The process clock in whole seconds and the settable running clock.
#include "platform/platform.h"
#include "quillon/timescale.h"

namespace {

// Reading of dClock during the first second of the process.
constexpr double kClockOffset = 100000000.0;

// The running clock: the DOS time last set (0.0 while unset) and the dClock
// reading taken at that moment. Process-wide and unlocked: callers
// serialise gpsTime.
double baseTime = 0.0;
double baseReading = 0.0;

}  // namespace

// 100000000.0 during the first second, 100001000.0 during the second: whole
// seconds of wall-clock time, in milliseconds, plus a fixed offset. A clock
// the runtime cannot read counts as 0 seconds.
double dClock() {
    const long ms = quillon::platform::processClockMs();
    const long wholeSeconds = ms < 0 ? 0 : ms / 1000;
    return 1000.0 * static_cast<double>(wholeSeconds) + kClockOffset;
}

// gpsTime(1.0e9) -> 1.0e9; gpsTime(0.0) 2.5 s later -> 1.0e9 + 2 (or + 3
// when a second boundary fell between the two readings).
double gpsTime(double t) {
    if (t != 0.0) {
        baseTime = t;
        baseReading = dClock();
    } else if (baseTime == 0.0) {
        // The first read of an unset clock starts it from the system clock and,
        // for the whole process, makes local time GMT.
        quillon::platform::switchTimeZoneToGmt();
        baseTime = static_cast<double>(quillon::platform::systemTimeSeconds());
        baseReading = dClock();
    }
    return (dClock() - baseReading) / 1000.0 + baseTime;
}
