/// @file
/// Units of length, the process-wide display and entry settings, and distances
/// (the hosts' flat interface; the C++ API is <quillon/cpp/units.hpp>).
///
/// All lengths are meters inside the library. Text is wchar_t, zero-terminated.
/// Formatting functions take no buffer size: the caller's buffer must hold the
/// longest text the value produces plus the terminating zero (for the filled
/// units 0..4 that is the digits, sign and point, at most 2 abbreviation
/// characters and the zero: 323 characters at most).
#ifndef QUILLON_UNITS_H
#define QUILLON_UNITS_H

#include <quillon/export.h>
#include <wchar.h>

/// One unit of length: a row of the unit table.
struct QUILLON_API Unit {
    wchar_t name[20];   ///< long name, e.g. "US survey feet"
    wchar_t abbrev[5];  ///< written directly after a value, e.g. "ft"
    double toMeters;    ///< meters in one of this unit
    int decimals;       ///< decimals that distToStr writes in this unit

    Unit();                       ///< empty name and abbreviation, 0.0, 2 decimals
    Unit(const Unit&) = default;  ///< copies every field
    Unit& operator=(const Unit& other);  ///< copies every field
    Unit& operator=(Unit&& other);       ///< copies every field; other is left as it was
};

/// The unit table and the seven settings kept in section "units" of a
/// private-profile settings file. Rows 0..4 are meters, feet, US survey feet,
/// kilometers and nautical miles; rows 5..9 are blank reserve rows.
///
/// A unit index outside 0..4 (passed in a call or read from a settings file)
/// is treated as 0 (meters) wherever the library picks a row: the blank rows
/// have a factor of 0.0 and rows beyond 9 do not exist, so no index can make
/// the library divide by zero or read outside the table.
class QUILLON_API Units {
public:
    Unit unitTable[10];   ///< rows 0..4 filled by the constructor, 5..9 blank
    int distUnits;        ///< unit index of distances, 0..4
    int wpUnits;          ///< unit index of waypoint distances, 0..4
    int latLonStyle;      ///< 0 = deg min sec, non-zero = deg and decimal minutes
    int defaultLatHemi;   ///< host's own coding; stored and copied only
    int defaultLonHemi;   ///< host's own coding; stored and copied only
    int defaultEntry;     ///< geographic or grid, host's own coding
    int defaultDistCalc;  ///< host's own coding; stored and copied only

    Units();  ///< fills the table, all seven settings 0
    Units(const Units&) = default;         ///< copies the table and every setting
    Units& operator=(const Units& other);  ///< copies the table and every setting
    Units& operator=(Units&& other);       ///< copies the table and every setting; other is left as it was

    /// Writes meters / toMeters of row `unit` with `decimals` (0..9) decimals,
    /// directly followed by the row's abbreviation: 1000.0, 3, 2 -> "1.00km".
    /// The fifth argument is ignored. Decimals outside 0..9 are clamped.
    void toStr(wchar_t* out, double meters, int unit, int decimals, int ignored);
    /// parseStrToUnit of the text with `unit` as the default unit (the
    /// factor comes from the process-wide instance's table, not this one).
    double fromStr(const wchar_t* text, int unit);
    /// Reads the seven keys of section "units" (missing: 0). Never fails.
    void loadData(const wchar_t* path);
    /// Writes the seven keys with "%d"; every other line of the file is kept
    /// and the file is replaced atomically. A failed write is silent.
    void saveData(const wchar_t* path);
};

/// Creates the process-wide instance and loads it from the file. A second call
/// while an instance exists releases the earlier object (without saving it).
/// Returns 1, or 0 when the object could not be created.
QUILLON_C QUILLON_API int allocUnits(const wchar_t* path);
/// Reloads the process-wide instance from the file, discarding its changes;
/// without an instance, nothing.
QUILLON_C QUILLON_API void loadUnits(const wchar_t* path);
/// Saves the process-wide instance to the file; without an instance, nothing.
QUILLON_C QUILLON_API void saveUnits(const wchar_t* path);
/// Saves the instance to the file, then releases it.
QUILLON_C QUILLON_API void deAllocUnits(const wchar_t* path);
/// The process-wide instance, or null when there is none.
QUILLON_C QUILLON_API Units* getUnits();
/// The instance's defaultEntry; 0 without an instance.
QUILLON_C QUILLON_API int defaultEntry();
/// The same as defaultEntry().
QUILLON_C QUILLON_API int geoOrGrid();
/// The instance's latLonStyle; 0 without an instance.
QUILLON_C QUILLON_API int getLatLonStyle();

/// Parses a typed length ("N 100 m", "2nm", "12.5 ft", "-7") and returns it in
/// meters. *stop receives the index of the first character not consumed.
/// A number without a recognised unit is in `defaultUnit` (negative: meters).
/// Text without a number gives 0.0. Needs the process-wide instance for the
/// default unit's factor; without one the default unit counts as meters (and
/// "ft" is then the US survey foot).
QUILLON_C QUILLON_API double parseStrToUnit(const wchar_t* text, int* stop, int defaultUnit);

/// Writes a distance in the user's unit (the process-wide instance's row
/// distUnits at call time: its factor, decimals and abbreviation) and
/// returns the number of characters written:
/// distToStr(buf, 1234.5678) with distUnits 0 -> "1234.57m", with 3 -> "1.23457km".
QUILLON_C QUILLON_API int distToStr(wchar_t* out, double meters);
/// Writes a waypoint distance in the row wpUnits with the given decimals
/// (0..9) and returns the number of characters written:
/// wpDistToStr(buf, 1852.0, 1) with wpUnits 4 -> "1.0nm".
QUILLON_C QUILLON_API int wpDistToStr(wchar_t* out, double meters, int decimals);
QUILLON_C QUILLON_API double metersToDist();  ///< 1 / toMeters of distUnits
QUILLON_C QUILLON_API double distToMeters();  ///< toMeters of distUnits
/// parseStrToUnit of the text with distUnits as the default unit.
QUILLON_C QUILLON_API double parseStrToDist(const wchar_t* text);

#endif
