#include "angles/angle_split.h"

#include <cmath>
#include <cstdint>

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

namespace {

// The magnitude's whole degrees and minutes and the seconds before rounding.
struct DmsFront {
    double wholeDegrees;
    double wholeMinutes;
    double seconds;
};

// The magnitudes are below 2^31, so truncation through an integer is
// std::trunc without its general cases.
double wholeOf(double magnitude) { return static_cast<double>(static_cast<int>(magnitude)); }

DmsFront dmsFront(double angle) {
    const double a = splittableMagnitude(angle);
    const double wholeDegrees = wholeOf(a);
    const double minutesOfDegree = (a - wholeDegrees) * 60.0;
    const double wholeMinutes = wholeOf(minutesOfDegree);
    return {wholeDegrees, wholeMinutes, (minutesOfDegree - wholeMinutes) * 60.0};
}

// Whole degrees and the minutes before rounding.
struct DmFront {
    double wholeDegrees;
    double minutes;
};

DmFront dmFront(double angle) {
    const double a = splittableMagnitude(angle);
    const double wholeDegrees = wholeOf(a);
    return {wholeDegrees, (a - wholeDegrees) * 60.0};
}

constexpr std::uint32_t kUnits[kMaxUnitDecimals + 1] = {1, 10, 100, 1000, 10000, 100000, 1000000};

// floor(x * 10^decimals + 0.5) as a whole number: x is below 60, so it fits.
std::uint32_t roundedUnits(double x, int decimals) {
    return static_cast<std::uint32_t>(x * kExactPowers[decimals] + 0.5);
}

// The carry of a last component that rounded up to a whole minute (full is
// 60 in its units), rippled through the minutes into the degrees.
template <class Parts, class Last>
Parts carriedSeconds(Parts parts, Last full) {
    if (parts.seconds >= full) {
        parts.seconds -= full;
        ++parts.minutes;
        if (parts.minutes >= 60) {
            parts.minutes -= 60;
            ++parts.degrees;
        }
    }
    return parts;
}

// The same for decimal minutes that rounded up to a whole degree.
template <class Parts, class Last>
Parts carriedMinutes(Parts parts, Last full) {
    if (parts.minutes >= full) {
        parts.minutes -= full;
        ++parts.degrees;
    }
    return parts;
}

}  // namespace

DmsSplit splitDms(double angle, int decimals) {
    const DmsFront front = dmsFront(angle);
    return carriedSeconds(DmsSplit{static_cast<long long>(front.wholeDegrees), static_cast<int>(front.wholeMinutes),
                                   roundHalfUp(front.seconds, powerOfTen(decimals))},
                          60.0);
}

DmSplit splitDm(double angle, int decimals) {
    const DmFront front = dmFront(angle);
    return carriedMinutes(
        DmSplit{static_cast<long long>(front.wholeDegrees), roundHalfUp(front.minutes, powerOfTen(decimals))}, 60.0);
}

// The same roundings, kept as whole numbers of units: floor(x * P + 0.5) is
// the numerator of the split's floor(x * P + 0.5) / P, and that quotient
// reaches 60 exactly when the numerator reaches 60 * P.
DmsUnits splitDmsUnits(double angle, int decimals) {
    const DmsFront front = dmsFront(angle);
    return carriedSeconds(DmsUnits{static_cast<long long>(front.wholeDegrees), static_cast<int>(front.wholeMinutes),
                                   roundedUnits(front.seconds, decimals)},
                          60 * kUnits[decimals]);
}

DmUnits splitDmUnits(double angle, int decimals) {
    const DmFront front = dmFront(angle);
    return carriedMinutes(DmUnits{static_cast<long long>(front.wholeDegrees), roundedUnits(front.minutes, decimals)},
                          60 * kUnits[decimals]);
}

}  // namespace quillon::angles
