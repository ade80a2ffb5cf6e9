/// @file
/// Units of length, the user's display and entry settings kept in a settings
/// file, typed lengths and distances as text.
///
/// Lengths are metres. A unit is named by its index in the unit table, the
/// value the settings file stores: 0 metres, 1 feet (international foot,
/// 0.3048 m), 2 US survey feet (1200/3937 m), 3 kilometres, 4 nautical miles.
/// Every function that takes a unit index treats an index outside 0..4 as
/// metres, so no index makes the library divide by zero.
///
/// Every function here is reentrant: the settings are a value the caller
/// holds (Units), and nothing is shared between calls.
#ifndef QUILLON_CPP_UNITS_HPP
#define QUILLON_CPP_UNITS_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

constexpr int kMeters = 0;         ///< unit index of the metre
constexpr int kFeet = 1;           ///< unit index of the international foot, 0.3048 m
constexpr int kUsSurveyFeet = 2;   ///< unit index of the US survey foot, 1200/3937 m
constexpr int kKilometers = 3;     ///< unit index of the kilometre
constexpr int kNauticalMiles = 4;  ///< unit index of the nautical mile, 1852 m
constexpr int kUnitCount = 5;      ///< unit indexes are 0 .. kUnitCount - 1

/// One row of the unit table.
struct UnitInfo {
    const char* name;    ///< "meters", "feet", "US survey feet", "kilometers", "nautical miles"
    /// Written after a value: "m", "ft", "ft", "km", "nm" (both feet write
    /// "ft", as the hosts' texts always have).
    const char* abbrev;
    /// A symbol that tells every unit apart, for programs' own texts: "m",
    /// "ft" (the international foot, as PROJ and EPSG name it), "usft", "km",
    /// "nm". read_length() reads each back as its unit, except that it
    /// takes "ft" for the US survey foot unless its default unit is feet.
    const char* symbol;
    /// Metres in one of the unit: 1.0, 0.3048, 0.30480060960121924 (1200/3937
    /// as the hosts have always stored it, 1 ulp above the nearest double, a
    /// relative error of 1.3e-16), 1000.0, 1852.0.
    double to_meters;
    int decimals;  ///< decimals a distance in this unit is written with: 2, 2, 2, 5, 5
};

/// The row of a unit index (kMeters .. kNauticalMiles); any index outside
/// 0..4 gives the metre's row. The row lives as long as the program.
QUILLON_API const UnitInfo& unit_info(int unit) noexcept;

/// What a lenient length parser read: the value and where it stopped.
struct ParsedLength {
    double meters = 0.0;   ///< the length in metres; 0.0 when no number was read
    std::size_t stop = 0;  ///< index of the first unread byte (character, for wide text)
};

/// Reads a typed length: [label] [sign] number [unit], e.g. "N 100 m", "2nm",
/// "12.5 ft", "-7". Blanks (space, tab, line feed, vertical tab, form feed,
/// carriage return) may stand before the text, after the label, after the
/// sign and before the unit. The label is one of E N O S X Y (either case)
/// and is skipped; the number is at most 12 digits and points, without
/// exponent ("1e3" reads 1, stop 1; "1.2.3" reads 1.2, stop 5); the unit is
/// m, km, nm, yd or ft (either case). "ft" is the international foot when
/// default_unit is kFeet and the US survey foot otherwise. A number without
/// a unit, or followed by letters that name none ("5 mi" reads 5 in
/// default_unit, stop 2), is in default_unit (outside 0..4: metres). Text
/// without a number gives 0.0 with stop at the character that is not one.
/// Characters outside ASCII belong to no class: they end the text read.
/// This is the flat parseStrToUnit, whose leniency hosts rely on;
/// read_length() is the checked reader.
///
/// Accuracy: the number is read correctly rounded and multiplied once by the
/// unit's factor, so the result is within 1 ulp of the exact length.
QUILLON_API ParsedLength parse_length(std::string_view text, int default_unit) noexcept;
/// @copydoc parse_length(std::string_view, int)
QUILLON_API ParsedLength parse_length(std::wstring_view text, int default_unit) noexcept;

/// Reads a typed length as parse_length(text, default_unit) does, except
/// that a number without a unit is multiplied by default_to_meters instead
/// of the factor of default_unit's row; default_unit still decides which
/// foot "ft" is. This is for callers that keep a unit table of their own (the
/// flat interface's hosts may change the rows of theirs): pass a row's
/// factor and the index it stands at. default_to_meters is used as given (0,
/// NaN or an infinity give what the multiplication gives).
QUILLON_API ParsedLength parse_length(std::string_view text, int default_unit, double default_to_meters) noexcept;
/// @copydoc parse_length(std::string_view, int, double)
QUILLON_API ParsedLength parse_length(std::wstring_view text, int default_unit, double default_to_meters) noexcept;

/// Reads a whole typed length and nothing else, as a program should read a
/// length a user typed: blanks, an optional label (E N O S X Y, as
/// parse_length() takes it) and blanks, an optional sign and blanks, a
/// decimal number of any length with an optional exponent
/// ("4000180.45123456", "1e3", ".5"), blanks, an optional unit (m, km, nm,
/// yd, ft, usft, either case; "ft" as in parse_length(), "usft" always the
/// US survey foot), blanks, and the end of the text. A number without a
/// unit is in default_unit (outside 0..4: metres).
///
/// Errors: parse_error that names what could not be read ("no number in
/// 'abc'", "cannot read 'mi' in '5 mi'", "cannot read 'junk' in '10 m
/// junk'"); not_finite ("number too large in '1e400'") for a number, or a
/// length in metres, beyond the double range. A number too small for a
/// double reads as 0 with its sign.
///
/// Accuracy: the number is read correctly rounded whatever its length, then
/// multiplied once by the unit's factor (within 1 ulp of the exact length).
QUILLON_API Result<double> read_length(std::string_view text, int default_unit) noexcept;

/// Longest text write_length() writes for a unit index, without its
/// terminating zero: the digits of the largest double with 9 decimals, sign,
/// point and unit.
constexpr std::size_t kMaxLengthText = 330;

/// Writes meters in the unit with the given decimals (clamped to 0..9),
/// followed directly by the unit's abbreviation: 1000.0, kKilometers, 2 ->
/// "1.00km"; -2.5, kMeters, 2 -> "-2.50m". A unit index outside 0..4 writes
/// metres. The number is the correctly rounded fixed notation printf's
/// "%.*f" gives in the "C" locale (ties to even on the exact binary value,
/// "-0.00" for small negative values, "inf", "-inf", "nan" for values that
/// are not finite). Returns the length; see the buffer convention in
/// docs/architecture.md (at most kMaxLengthText characters and the zero).
QUILLON_API std::size_t write_length(char* out, std::size_t size, double meters, int unit, int decimals) noexcept;
/// @copydoc write_length(char*, std::size_t, double, int, int)
QUILLON_API std::size_t write_length(wchar_t* out, std::size_t size, double meters, int unit,
                                     int decimals) noexcept;

/// Writes meters / to_meters with the given decimals (clamped to 0..9),
/// followed directly by abbrev, as write_length(out, size, meters, unit,
/// decimals) does for a row of the library's table: 1.0, 0.5, "hm", 2 ->
/// "2.00hm". This is for callers that keep a unit table of their own (the
/// flat interface's hosts may change the rows of theirs). to_meters is used
/// as given: 0 writes "inf", "-inf" or "nan" as the division gives. The text
/// is at most kMaxLengthText + abbrev.size() characters; it is written
/// straight into out when size exceeds that, so a buffer of that room costs
/// no copy. Returns the length; see the buffer convention in
/// docs/architecture.md.
QUILLON_API std::size_t write_length(char* out, std::size_t size, double meters, double to_meters,
                                     std::string_view abbrev, int decimals) noexcept;
/// @copydoc write_length(char*, std::size_t, double, double, std::string_view, int)
QUILLON_API std::size_t write_length(wchar_t* out, std::size_t size, double meters, double to_meters,
                                     std::wstring_view abbrev, int decimals) noexcept;

/// meters as write_length() writes them: format_length(1000.0, kKilometers,
/// 2) == "1.00km".
inline std::string format_length(double meters, int unit, int decimals) {
    char text[kMaxLengthText + 1];
    return std::string(text, write_length(text, sizeof text, meters, unit, decimals));
}

/// The seven display and entry settings, kept in section "units" of a
/// private-profile (INI) settings file under the keys key(0) .. key(6).
///
/// A value: copy it freely; two objects share nothing. Paths are UTF-8 (the
/// std::string_view forms) or wide text, and may not hold a zero character
/// (such a path names no file). On Windows the settings file is read and
/// written by the system's private-profile functions, which take a name
/// without a folder ("quillon.ini") as a file in the Windows folder: give a
/// path with a folder ("./quillon.ini") to mean the current one.
struct QUILLON_API Units {
    int dist_units = 0;         ///< unit index of distances (key "distUnits"), 0..4
    int wp_units = 0;           ///< unit index of waypoint distances ("wpUnits"), 0..4
    int lat_lon_style = 0;      ///< 0 degrees minutes seconds, otherwise degrees and decimal minutes ("latLonStyle")
    int default_lat_hemi = 0;   ///< the hosts' own coding, kept as is ("defaultLatHemi")
    int default_lon_hemi = 0;   ///< the hosts' own coding, kept as is ("defaultLonHemi")
    int default_entry = 0;      ///< geographic or grid entry, the hosts' coding ("defaultEntry")
    int default_dist_calc = 0;  ///< the hosts' own coding, kept as is ("defaultDistCalc")

    /// Number of settings.
    static constexpr std::size_t kCount = 7;
    /// The key of setting i in the file, in file order: "distUnits",
    /// "wpUnits", "latLonStyle", "defaultLatHemi", "defaultLonHemi",
    /// "defaultEntry", "defaultDistCalc"; "" for i of 7 or more.
    static const char* key(std::size_t i) noexcept;
    /// The setting at index i of key() (0 is dist_units ... 6 is
    /// default_dist_calc), or null for i of 7 or more.
    int* setting(std::size_t i) noexcept;
    /// @copydoc setting(std::size_t)
    const int* setting(std::size_t i) const noexcept;

    /// Reads the settings as the hosts' loadData does: a missing or
    /// unreadable file, section or key gives 0, and a value gives its
    /// leading decimal digits after blanks and an optional sign (0 when it
    /// has none: "ft" reads 0). Keys and the section name ignore ASCII
    /// case. Never fails; should storage run out, the settings not yet read
    /// are 0.
    static Units load(std::string_view path) noexcept;
    /// @copydoc load(std::string_view)
    static Units load(std::wstring_view path) noexcept;
    /// Reads the settings and checks them: the file must exist and be
    /// readable (io_error: "settings file x.ini: no such file", "... is not
    /// a file", "... cannot be read"), every value present must be a whole
    /// number and nothing else, an optional sign and decimal digits
    /// (parse_error: "settings file x.ini:2: distUnits=ft is not a whole
    /// number", with the line of the key), within the range of int
    /// (out_of_range: "settings file x.ini:4: latLonStyle=99999999999 is out
    /// of range"), and the two unit indexes must lie in 0..4 (out_of_range:
    /// "settings file x.ini:2: distUnits=7 is not a unit (0..4)"). The first key in file order that
    /// fails is reported. Keys that are missing or empty are 0. no_memory
    /// when storage runs out.
    static Result<Units> read(std::string_view path) noexcept;
    /// Writes the seven keys, each as a decimal integer, into section
    /// "units", keeping every other line of the file; creates the file when
    /// missing and replaces it atomically. Every key is attempted even after
    /// one failed. io_error when any key could not be written (a read-only
    /// file, a missing folder): "settings file x.ini: cannot write
    /// distUnits", naming the first key that failed; no_memory when storage
    /// runs out.
    Status save(std::string_view path) const noexcept;
    /// @copydoc save(std::string_view) const
    Status save(std::wstring_view path) const noexcept;
};

/// Reads a typed length as parse_length() does with the distance unit of
/// the settings as the default unit.
QUILLON_API ParsedLength parse_distance(std::string_view text, const Units& settings) noexcept;
/// Writes a distance in the distance unit of the settings (outside 0..4:
/// metres) with that unit's decimals (UnitInfo::decimals): 1234.5678 with
/// dist_units kKilometers -> "1.23457km". Returns the length; see
/// write_length().
QUILLON_API std::size_t write_distance(char* out, std::size_t size, double meters, const Units& settings) noexcept;
/// @copydoc write_distance(char*, std::size_t, double, const Units&)
QUILLON_API std::size_t write_distance(wchar_t* out, std::size_t size, double meters,
                                       const Units& settings) noexcept;
/// Writes a waypoint distance in the waypoint unit (outside 0..4: metres)
/// with the given decimals (clamped to 0..9): 1852.0 with wp_units
/// kNauticalMiles and 1 decimal -> "1.0nm". Returns the length; see
/// write_length().
QUILLON_API std::size_t write_waypoint_distance(char* out, std::size_t size, double meters, const Units& settings,
                                                int decimals) noexcept;
/// @copydoc write_waypoint_distance(char*, std::size_t, double, const Units&, int)
QUILLON_API std::size_t write_waypoint_distance(wchar_t* out, std::size_t size, double meters,
                                                const Units& settings, int decimals) noexcept;

/// A distance as write_distance() writes it.
inline std::string format_distance(double meters, const Units& settings) {
    char text[kMaxLengthText + 1];
    return std::string(text, write_distance(text, sizeof text, meters, settings));
}

}  // namespace quillon

#endif
