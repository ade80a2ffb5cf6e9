// An angle's magnitude split into whole degrees, minutes and seconds (or
// degrees and decimal minutes), the last component rounded half up at a
// number of decimals with the carry rippled upward. Shared by split_dms,
// split_dm and the angle, latitude and longitude texts.
#ifndef QUILLON_ANGLES_ANGLE_SPLIT_H
#define QUILLON_ANGLES_ANGLE_SPLIT_H

#include <cstdint>

namespace quillon::angles {

// Degrees are 64-bit so that the carry out of 2147483647.99... degrees
// cannot overflow; minutes and seconds are those of the magnitude.
struct DmsSplit {
    long long degrees;
    int minutes;
    double seconds;
};

struct DmSplit {
    long long degrees;
    double minutes;
};

// Magnitudes at or above this (and NaN and infinities) have whole degrees
// that do not fit an int; they split as if they were 0.
constexpr double kUnsplittableMagnitude = 2147483648.0;

// 10 to the power decimals as a double: exact for |decimals| <= 22,
// correctly rounded beyond (and 0 or infinity far beyond).
double powerOfTen(int decimals);

DmsSplit splitDms(double angle, int decimals);
DmSplit splitDm(double angle, int decimals);

// The same splits with the last component as a whole number of
// 10^-decimals units, for decimals 0..kMaxUnitDecimals: what the texts
// print, without a division and a multiplication back.
constexpr int kMaxUnitDecimals = 6;

struct DmsUnits {
    long long degrees;
    int minutes;
    std::uint32_t seconds;
};

struct DmUnits {
    long long degrees;
    std::uint32_t minutes;
};

DmsUnits splitDmsUnits(double angle, int decimals);
DmUnits splitDmUnits(double angle, int decimals);

}  // namespace quillon::angles

#endif
