// The process clock in whole seconds and the settable running clock.
#include "platform/platform.h"
#include "quillon/cpp/time.hpp"

namespace quillon {
namespace {

// Reading of the process clock during the first second of the process.
constexpr double kClockOffset = 100000000.0;

}  // namespace

// 100000000.0 during the first second, 100001000.0 during the second: whole
// seconds of wall-clock time, in milliseconds, plus a fixed offset. A clock
// the runtime cannot read counts as 0 seconds.
double process_clock() noexcept {
    const long ms = platform::processClockMs();
    const long wholeSeconds = ms < 0 ? 0 : ms / 1000;
    return 1000.0 * static_cast<double>(wholeSeconds) + kClockOffset;
}

void RunningClock::set(double t) noexcept {
    base_ = t;
    reading_ = process_clock();
}

// set(1.0e9), then read() 2.5 s later -> 1.0e9 + 2 (or + 3 when a second
// boundary fell between the two readings of the process clock).
double RunningClock::read() noexcept {
    if (base_ == 0.0) set(static_cast<double>(platform::systemTimeSeconds()));
    return (process_clock() - reading_) / 1000.0 + base_;
}

}  // namespace quillon
