// Rows of the unit table and the safe choice of a row by index.
#ifndef QUILLON_UNITS_UNIT_TABLE_H
#define QUILLON_UNITS_UNIT_TABLE_H

#include "quillon/units.h"

namespace quillon::units {

constexpr int kMeters = 0;
constexpr int kFeet = 1;
constexpr int kUsSurveyFeet = 2;
constexpr int kFilledRows = 5;  // rows 0..4 hold units; 5..9 are blank

constexpr double kFootMeters = 0.3048;
constexpr double kUsSurveyFootMeters = 0.30480060960121924;  // 1200/3937
constexpr double kYardMeters = 0.9144;
constexpr double kNauticalMileMeters = 1852.0;

// Only the filled rows have a factor; any other index (a blank row, past
// the table or negative) selects meters, so nothing divides by zero or reads
// outside the table.
constexpr int usableIndex(int index) { return index >= 0 && index < kFilledRows ? index : kMeters; }

inline const Unit& usableRow(const Units& units, int index) { return units.unitTable[usableIndex(index)]; }

// Writes meters in the row's unit with the given decimals (clamped to 0..9)
// and the row's abbreviation; returns the length.
int writeLength(wchar_t* out, const Unit& row, double meters, int decimals);

}  // namespace quillon::units

#endif
