// GPS time and UTC: the leap seconds inserted into UTC since the GPS epoch.
//
// Keeping the table up to date: IERS Bulletin C
// (https://hpiers.obspm.fr/iers/bul/bulc/bulletinc.dat), published in
// January and July, says whether a leap second ends the coming June 30 or
// December 31. The same table, with its expiry, is in the IERS/IANA file
// leap-seconds.list (Debian: /usr/share/zoneinfo/leap-seconds.list, package
// tzdata). When a bulletin announces one, add a row below: the UTC time of
// the midnight after the leap second and the new GPS - UTC (TAI - UTC minus
// 19). After every bulletin, leap second or not, move kLeapSecondsKnownUntil
// in include/quillon/cpp/time.hpp to the expiry of the current list.
#include "quillon/cpp/time.hpp"

namespace quillon {
namespace {

struct LeapStep {
    double utc;         // the first UTC second with the new offset (a midnight)
    int gpsMinusUtc;    // GPS - UTC from then on
};

constexpr LeapStep kLeapSteps[] = {
    {362793600.0, 1},    // 1981-07-01
    {394329600.0, 2},    // 1982-07-01
    {425865600.0, 3},    // 1983-07-01
    {489024000.0, 4},    // 1985-07-01
    {567993600.0, 5},    // 1988-01-01
    {631152000.0, 6},    // 1990-01-01
    {662688000.0, 7},    // 1991-01-01
    {709948800.0, 8},    // 1992-07-01
    {741484800.0, 9},    // 1993-07-01
    {773020800.0, 10},   // 1994-07-01
    {820454400.0, 11},   // 1996-01-01
    {867715200.0, 12},   // 1997-07-01
    {915148800.0, 13},   // 1999-01-01
    {1136073600.0, 14},  // 2006-01-01
    {1230768000.0, 15},  // 2009-01-01
    {1341100800.0, 16},  // 2012-07-01
    {1435708800.0, 17},  // 2015-07-01
    {1483228800.0, 18},  // 2017-01-01
};

}  // namespace

int gps_utc_offset(double unix_time) noexcept {
    int offset = 0;
    for (const LeapStep& step : kLeapSteps)
        if (unix_time >= step.utc) offset = step.gpsMinusUtc;
    return offset;
}

// A step's new offset holds from the GPS time of its UTC midnight less the
// inserted second: the GPS seconds of 23:59:60 give 23:59:59 once more.
double utc_of_gps_time(double gps_time) noexcept {
    int offset = 0;
    for (const LeapStep& step : kLeapSteps)
        if (gps_time - offset >= step.utc) offset = step.gpsMinusUtc;
    return gps_time - offset;
}

}  // namespace quillon
