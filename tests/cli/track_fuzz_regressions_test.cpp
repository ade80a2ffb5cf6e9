// Logs the fuzzer found mishandled by `quillon track` (fuzz/regressions/
// keeps the inputs themselves): each case pins the behaviour the fix gave.
#include <gtest/gtest.h>

#include <string>

#include "tool_runner.h"

namespace {

// A time field far beyond "hhmmss.ss" (here 1.1e14, and 1e24 as the
// fuzzer sent it): its hours did not fit an int, which is undefined
// behaviour (the sanitizer build stopped on it). It is a bad field now.
TEST(TrackFuzzRegressions, TimeFieldBeyondADayIsABadField) {
    const char* const logs[] = {
        "*$GPZDA,111111111110118,,,\n",
        "$GPZDA,1111111111111111111111111.0,15,07,2021,,\n",
        "$GPGGA,240000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,\n",
    };
    for (const char* log : logs) {
        ToolRunner tool;
        testing_support::writeBytes(tool.file("log.nmea"), log);
        const ToolResult r = tool.runOk("track log.nmea");
        EXPECT_EQ(summaryValue(r.out, "fixes"), "0") << describe(log, r);
        EXPECT_EQ(summaryValue(r.out, "skipped").rfind("1 (", 0), 0u)
            << "one skipped sentence expected\n" << describe(log, r);
        EXPECT_NE(summaryValue(r.out, "skipped").find("bad field 1"), std::string::npos) << describe(log, r);
    }
}

}  // namespace
