// The process clock and the running clock behind gpsTime.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "quillon/timescale.h"

namespace {

TEST(ProcessClock, CountsWholeSecondsInMillisecondsFromAFixedOffset) {
    const double reading = dClock();
    EXPECT_GE(reading, 100000000.0);
    EXPECT_EQ(std::fmod(reading - 100000000.0, 1000.0), 0.0) << "reading " << reading;
}

// One test, in order: the first read of the unset clock, then a set, then a
// read after real time has passed while the process slept.
TEST(RunningClock, StartsFromTheSystemClockThenRunsFromTheTimeSet) {
    const double systemBefore = double(std::time(nullptr));
    const double first = gpsTime(0.0);
    EXPECT_GE(first, systemBefore - 1) << "the first read starts from the system time";
    EXPECT_LE(first, double(std::time(nullptr)) + 1);
    const char* tz = std::getenv("TZ");
    ASSERT_NE(tz, nullptr) << "the first read switches the process to GMT";
    EXPECT_STREQ(tz, "GMT0");
    EXPECT_EQ(std::fmod(first - systemBefore, 1.0), 0.0) << "whole seconds only";

    const double set = gpsTime(1.0e9);
    EXPECT_TRUE(set == 1.0e9 || set == 1.0e9 + 1) << "gpsTime(1e9) returned " << set;

    const double before = dClock();
    std::this_thread::sleep_for(std::chrono::milliseconds(1600));
    const double elapsed = (dClock() - before) / 1000.0;
    EXPECT_TRUE(elapsed == 1.0 || elapsed == 2.0) << "dClock advanced " << elapsed << " s while sleeping";

    const double later = gpsTime(0.0);
    EXPECT_TRUE(later == 1.0e9 + 1 || later == 1.0e9 + 2)
        << "1.6 s after setting 1e9, gpsTime(0) returned " << later;
    const double again = gpsTime(0.0);
    EXPECT_TRUE(again == later || again == later + 1) << "reading again returned " << again;

    const double rebased = gpsTime(2.0e9);
    EXPECT_TRUE(rebased == 2.0e9 || rebased == 2.0e9 + 1) << "gpsTime(2e9) returned " << rebased;
}

}  // namespace
