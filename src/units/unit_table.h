// What the units code shares inside the library: the factors of the units
// typed lengths may name, and the safe choice of a row by unit index.
#ifndef QUILLON_UNITS_UNIT_TABLE_H
#define QUILLON_UNITS_UNIT_TABLE_H

#include <quillon/cpp/units.hpp>

namespace quillon::units {

constexpr double kFootMeters = 0.3048;
// 1200/3937 as the hosts' tables have always stored it (bit pattern
// 0x3FD381DA6A82703C): one ulp above the double nearest the exact ratio,
// which is what 1200.0 / 3937.0 would give. Kept for the hosts' results.
constexpr double kUsSurveyFootMeters = 0.30480060960121924;
constexpr double kYardMeters = 0.9144;
constexpr double kNauticalMileMeters = 1852.0;

// Only the filled rows have a factor; any other index (a blank row of the
// hosts' table, past it or negative) selects metres, so nothing divides by
// zero or reads outside a table.
constexpr int usableUnit(int unit) { return unit >= 0 && unit < kUnitCount ? unit : kMeters; }

// The foot "ft" means: the international foot only when the default unit is
// feet, the US survey foot for every other default unit.
constexpr double footMeters(int defaultUnit) {
    return usableUnit(defaultUnit) == kFeet ? kFootMeters : kUsSurveyFootMeters;
}

}  // namespace quillon::units

#endif
