#include "quillon/units.h"

#include <cwchar>

#include "platform/platform.h"
#include "units/unit_table.h"

namespace {

void setRow(Unit& row, const wchar_t* name, const wchar_t* abbrev, double toMeters, int decimals) {
    std::wcsncpy(row.name, name, sizeof row.name / sizeof row.name[0] - 1);
    std::wcsncpy(row.abbrev, abbrev, sizeof row.abbrev / sizeof row.abbrev[0] - 1);
    row.toMeters = toMeters;
    row.decimals = decimals;
}

constexpr const wchar_t* kSection = L"units";

// The settings in the order they are read and written.
struct Setting {
    const wchar_t* key;
    int Units::*field;
};
constexpr Setting kSettings[] = {
    {L"distUnits", &Units::distUnits},           {L"wpUnits", &Units::wpUnits},
    {L"latLonStyle", &Units::latLonStyle},       {L"defaultLatHemi", &Units::defaultLatHemi},
    {L"defaultLonHemi", &Units::defaultLonHemi}, {L"defaultEntry", &Units::defaultEntry},
    {L"defaultDistCalc", &Units::defaultDistCalc},
};

}  // namespace

Units::Units()
    : distUnits(0), wpUnits(0), latLonStyle(0), defaultLatHemi(0), defaultLonHemi(0), defaultEntry(0),
      defaultDistCalc(0) {
    using namespace quillon::units;
    setRow(unitTable[0], L"meters", L"m", 1.0, 2);
    setRow(unitTable[1], L"feet", L"ft", kFootMeters, 2);
    setRow(unitTable[2], L"US survey feet", L"ft", kUsSurveyFootMeters, 2);
    setRow(unitTable[3], L"kilometers", L"km", 1000.0, 5);
    setRow(unitTable[4], L"nautical miles", L"nm", kNauticalMileMeters, 5);
}

Units& Units::operator=(const Units& other) {
    for (int i = 0; i < 10; ++i) unitTable[i] = other.unitTable[i];
    for (const Setting& s : kSettings) this->*s.field = other.*s.field;
    return *this;
}

Units& Units::operator=(Units&& other) { return *this = static_cast<const Units&>(other); }

void Units::toStr(wchar_t* out, double meters, int unit, int decimals, int) {
    quillon::units::writeLength(out, quillon::units::usableRow(*this, unit), meters, decimals);
}

double Units::fromStr(const wchar_t* text, int unit) {
    int stop = 0;
    return parseStrToUnit(text, &stop, unit);
}

void Units::loadData(const wchar_t* path) {
    for (const Setting& s : kSettings) this->*s.field = quillon::platform::profileInt(kSection, s.key, 0, path);
}

void Units::saveData(const wchar_t* path) {
    for (const Setting& s : kSettings) {
        wchar_t value[16];
        std::swprintf(value, 16, L"%d", this->*s.field);
        quillon::platform::writeProfileString(kSection, s.key, value, path);
    }
}
