#include <quillon/cpp/units.hpp>

#include "units/unit_table.h"

namespace quillon {

namespace {

constexpr UnitInfo kUnits[kUnitCount] = {
    {"meters", "m", "m", 1.0, 2},
    {"feet", "ft", "ft", units::kFootMeters, 2},
    {"US survey feet", "ft", "usft", units::kUsSurveyFootMeters, 2},
    {"kilometers", "km", "km", 1000.0, 5},
    {"nautical miles", "nm", "nm", units::kNauticalMileMeters, 5},
};

}  // namespace

const UnitInfo& unit_info(int unit) noexcept { return kUnits[units::usableUnit(unit)]; }

}  // namespace quillon
