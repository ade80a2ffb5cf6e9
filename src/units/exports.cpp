// The hosts' door to units and distances: the flat functions and the
// exported classes Unit and Units, over the C++ API.
//
// What the hosts were promised and nobody else wants lives here: the
// process-wide Units object, whose rows a host may change through getUnits()
// and whose rows the distance functions then read; buffers without a size;
// a parser that takes its default factor from that object.
#include <cwchar>
#include <new>
#include <string_view>

#include <quillon/cpp/units.hpp>
#include <quillon/units.h>

#include "units/unit_table.h"

namespace {

// Callers serialise creation, release, loading and saving against every
// other use.
Units* instance = nullptr;

// The row a unit index selects in a flat table: a blank row, an index past
// the table or a negative one selects metres.
const Unit& usableRow(const Units& units, int unit) { return units.unitTable[quillon::units::usableUnit(unit)]; }

// The abbreviation up to its zero, or to the end of its array.
std::wstring_view abbrevOf(const Unit& row) {
    std::size_t n = 0;
    while (n < sizeof row.abbrev / sizeof row.abbrev[0] && row.abbrev[n] != L'\0') ++n;
    return {row.abbrev, n};
}

// The flat buffers have no size: the caller's buffer holds the longest text
// the row can give, which is what this room allows the writer.
int writeRow(wchar_t* out, const Unit& row, double meters, int decimals) {
    const std::wstring_view abbrev = abbrevOf(row);
    const std::size_t room = quillon::kMaxLengthText + abbrev.size() + 1;
    return static_cast<int>(quillon::write_length(out, room, meters, row.toMeters, abbrev, decimals));
}

std::wstring_view viewOf(const wchar_t* text) { return text != nullptr ? std::wstring_view(text) : std::wstring_view(); }

template <std::size_t N>
void copyAscii(wchar_t (&out)[N], const char* text) {
    std::size_t n = 0;
    for (; n + 1 < N && text[n] != '\0'; ++n) out[n] = static_cast<wchar_t>(text[n]);
    for (; n < N; ++n) out[n] = L'\0';
}

quillon::Units settingsOf(const Units& flat) {
    quillon::Units settings;
    settings.dist_units = flat.distUnits;
    settings.wp_units = flat.wpUnits;
    settings.lat_lon_style = flat.latLonStyle;
    settings.default_lat_hemi = flat.defaultLatHemi;
    settings.default_lon_hemi = flat.defaultLonHemi;
    settings.default_entry = flat.defaultEntry;
    settings.default_dist_calc = flat.defaultDistCalc;
    return settings;
}

void takeSettings(Units* flat, const quillon::Units& settings) {
    flat->distUnits = settings.dist_units;
    flat->wpUnits = settings.wp_units;
    flat->latLonStyle = settings.lat_lon_style;
    flat->defaultLatHemi = settings.default_lat_hemi;
    flat->defaultLonHemi = settings.default_lon_hemi;
    flat->defaultEntry = settings.default_entry;
    flat->defaultDistCalc = settings.default_dist_calc;
}

// The row of a setting of the process-wide object; without one, metres.
const Unit& rowOf(int Units::*setting) {
    static const Units defaults;
    return instance != nullptr ? usableRow(*instance, instance->*setting) : defaults.unitTable[quillon::kMeters];
}

}  // namespace

// --- Unit -------------------------------------------------------------------

Unit::Unit() : name{}, abbrev{}, toMeters(0.0), decimals(2) {}

// Out of line, so that the operators stay where hosts already link them.
Unit& Unit::operator=(const Unit&) = default;
Unit& Unit::operator=(Unit&&) = default;

// --- Units ------------------------------------------------------------------

Units::Units()
    : distUnits(0), wpUnits(0), latLonStyle(0), defaultLatHemi(0), defaultLonHemi(0), defaultEntry(0),
      defaultDistCalc(0) {
    for (int i = 0; i < quillon::kUnitCount; ++i) {
        const quillon::UnitInfo& info = quillon::unit_info(i);
        copyAscii(unitTable[i].name, info.name);
        copyAscii(unitTable[i].abbrev, info.abbrev);
        unitTable[i].toMeters = info.to_meters;
        unitTable[i].decimals = info.decimals;
    }
}

Units& Units::operator=(const Units&) = default;
Units& Units::operator=(Units&&) = default;

void Units::toStr(wchar_t* out, double meters, int unit, int decimals, int) {
    writeRow(out, usableRow(*this, unit), meters, decimals);
}

// As documented, the default unit's factor comes from the process-wide
// object, not from this one.
double Units::fromStr(const wchar_t* text, int unit) { return parseStrToUnit(text, nullptr, unit); }

void Units::loadData(const wchar_t* path) { takeSettings(this, quillon::Units::load(viewOf(path))); }

void Units::saveData(const wchar_t* path) { (void)settingsOf(*this).save(viewOf(path)); }

// --- the process-wide object ----------------------------------------------------

int allocUnits(const wchar_t* path) {
    delete instance;  // a second call replaces the earlier object, unsaved
    instance = new (std::nothrow) Units();
    if (instance == nullptr) return 0;
    instance->loadData(path);
    return 1;
}

void loadUnits(const wchar_t* path) {
    if (instance != nullptr) instance->loadData(path);
}

void saveUnits(const wchar_t* path) {
    if (instance != nullptr) instance->saveData(path);
}

void deAllocUnits(const wchar_t* path) {
    if (instance == nullptr) return;
    instance->saveData(path);
    delete instance;
    instance = nullptr;
}

Units* getUnits() { return instance; }

int defaultEntry() { return instance != nullptr ? instance->defaultEntry : 0; }

int geoOrGrid() { return defaultEntry(); }

int getLatLonStyle() { return instance != nullptr ? instance->latLonStyle : 0; }

// --- lengths and distances ------------------------------------------------------

double parseStrToUnit(const wchar_t* text, int* stop, int defaultUnit) {
    // Without the process-wide object the default unit counts as metres, for
    // the factor and for the foot alike.
    const quillon::ParsedLength parsed =
        instance != nullptr
            ? quillon::parse_length(viewOf(text), defaultUnit, usableRow(*instance, defaultUnit).toMeters)
            : quillon::parse_length(viewOf(text), quillon::kMeters);
    if (stop != nullptr) *stop = static_cast<int>(parsed.stop);
    return parsed.meters;
}

int distToStr(wchar_t* out, double meters) {
    const Unit& row = rowOf(&Units::distUnits);
    return writeRow(out, row, meters, row.decimals);
}

int wpDistToStr(wchar_t* out, double meters, int decimals) {
    return writeRow(out, rowOf(&Units::wpUnits), meters, decimals);
}

double metersToDist() { return 1.0 / rowOf(&Units::distUnits).toMeters; }

double distToMeters() { return rowOf(&Units::distUnits).toMeters; }

double parseStrToDist(const wchar_t* text) {
    return parseStrToUnit(text, nullptr, instance != nullptr ? instance->distUnits : quillon::kMeters);
}
