// Distances in the user's units, read from the process-wide instance at the
// moment of each call.
#include "quillon/units.h"
#include "units/unit_table.h"
#include "units/units_instance.h"

namespace {

// The row a setting selects; meters when there is no instance.
const Unit& rowOf(int Units::*setting) {
    static const Unit meters = Units().unitTable[quillon::units::kMeters];
    const Units* units = quillon::units::processUnits();
    return units != nullptr ? quillon::units::usableRow(*units, units->*setting) : meters;
}

const Unit& distRow() { return rowOf(&Units::distUnits); }

}  // namespace

int distToStr(wchar_t* out, double meters) {
    const Unit& row = distRow();
    return quillon::units::writeLength(out, row, meters, row.decimals);
}

int wpDistToStr(wchar_t* out, double meters, int decimals) {
    return quillon::units::writeLength(out, rowOf(&Units::wpUnits), meters, decimals);
}

double metersToDist() { return 1.0 / distRow().toMeters; }

double distToMeters() { return distRow().toMeters; }

double parseStrToDist(const wchar_t* text) {
    const Units* units = quillon::units::processUnits();
    int stop = 0;
    return parseStrToUnit(text, &stop, units != nullptr ? units->distUnits : 0);
}
