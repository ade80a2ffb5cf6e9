#include "angles/angle_split.h"

#include <cmath>

namespace quillon::angles {
namespace {

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLastExactPower = 22;

// The magnitude to split: 0 for what has no whole degrees that fit an int.
double splittableMagnitude(double angle) {
    const double a = std::fabs(angle);
    return a < kUnsplittableMagnitude ? a : 0.0;  // false for NaN too
}

// The last component rounded half up at the decimals whose power is P:
// floor(x * P + 0.5) / P, with x * P formed first.
double roundHalfUp(double x, double power) { return std::floor(x * power + 0.5) / power; }

}  // namespace

double powerOfTen(int decimals) {
    if (decimals >= 0 && decimals <= kLastExactPower) return kExactPowers[decimals];
    if (decimals < 0 && decimals >= -kLastExactPower) return 1.0 / kExactPowers[-decimals];
    return std::pow(10.0, decimals);
}

DmsSplit splitDms(double angle, int decimals) {
    const double a = splittableMagnitude(angle);
    const double wholeDegrees = std::trunc(a);
    const double minutesOfDegree = (a - wholeDegrees) * 60.0;
    const double wholeMinutes = std::trunc(minutesOfDegree);
    const double fractionOfMinute = minutesOfDegree - wholeMinutes;

    DmsSplit parts{static_cast<long long>(wholeDegrees), static_cast<int>(wholeMinutes),
                   roundHalfUp(fractionOfMinute * 60.0, powerOfTen(decimals))};
    if (parts.seconds >= 60.0) {
        parts.seconds -= 60.0;
        ++parts.minutes;
        if (parts.minutes >= 60) {
            parts.minutes -= 60;
            ++parts.degrees;
        }
    }
    return parts;
}

DmSplit splitDm(double angle, int decimals) {
    const double a = splittableMagnitude(angle);
    const double wholeDegrees = std::trunc(a);
    DmSplit parts{static_cast<long long>(wholeDegrees),
                  roundHalfUp((a - wholeDegrees) * 60.0, powerOfTen(decimals))};
    if (parts.minutes >= 60.0) {
        parts.minutes -= 60.0;
        ++parts.degrees;
    }
    return parts;
}

}  // namespace quillon::angles
