// Clocks and time zone. The Windows runtime's clock() counts wall-clock time
// since the process started; POSIX clock() counts CPU time, which stands
// still while the process sleeps. So the process clock here is the monotonic
// clock measured from the moment the library was loaded (for a host that
// loads it at start-up, the start of the process).
#include <cstdlib>
#include <ctime>

#include "platform/platform.h"

namespace quillon::platform {
namespace {

long long monotonicMs() {
    timespec ts{};
    if (clock_gettime(CLOCK_MONOTONIC, &ts) != 0) return -1;
    return static_cast<long long>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

const long long loadedAtMs = monotonicMs();

}  // namespace

long processClockMs() {
    long long now = monotonicMs();
    if (now < 0 || loadedAtMs < 0) return -1;
    return static_cast<long>(now - loadedAtMs);
}

std::int64_t systemTimeSeconds() { return static_cast<std::int64_t>(std::time(nullptr)); }

void switchTimeZoneToGmt() {
    setenv("TZ", "GMT0", 1);
    tzset();
}

}  // namespace quillon::platform
