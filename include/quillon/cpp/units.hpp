/// @file
/// Units of length, the user's display and entry settings kept in a settings
/// file, typed lengths and distances as text.
///
/// Lengths are metres. A unit is named by its index in the unit table, the
/// value the settings file stores: 0 metres, 1 feet (international foot,
/// 0.3048 m), 2 US survey feet (1200/3937 m), 3 kilometres, 4 nautical miles.
/// Every function that takes a unit index treats an index outside 0..4 as
/// metres, so no index makes the library divide by zero.
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
    const char* abbrev;  ///< written after a value: "m", "ft", "ft", "km", "nm"
    double to_meters;    ///< metres in one of the unit
    int decimals;        ///< decimals a distance in this unit is written with: 2, 2, 2, 5, 5
};

/// The row of a unit index; any index outside 0..4 gives the metre's row.
QUILLON_API const UnitInfo& unit_info(int unit) noexcept;

/// What a lenient length parser read: the value and where it stopped.
struct ParsedLength {
    double meters = 0.0;   ///< the length in metres; 0.0 when no number was read
    std::size_t stop = 0;  ///< index of the first unread byte (character, for wide text)
};

/// Reads a typed length: [label] [sign] number [unit], e.g. "N 100 m", "2nm",
/// "12.5 ft", "-7". The label is one of E N O S X Y (either case) and is
/// skipped; the number is at most 12 digits and points, without exponent
/// ("1e3" reads 1, stop 1); the unit is m, km, nm, yd or ft (either case).
/// "ft" is the international foot when default_unit is kFeet and the US
/// survey foot otherwise. A number without a unit is in default_unit
/// (negative: metres). Text without a number gives 0.0 with stop at the
/// character that is not one. This is the flat parseStrToUnit, whose
/// leniency hosts rely on; read_length() is the checked reader.
QUILLON_API ParsedLength parse_length(std::string_view text, int default_unit) noexcept;
/// @copydoc parse_length(std::string_view, int)
QUILLON_API ParsedLength parse_length(std::wstring_view text, int default_unit) noexcept;

/// Reads a whole typed length and nothing else, as a program should read a
/// length a user typed: blanks, an optional label (E N O S X Y, as
/// parse_length() takes it), an optional sign, a decimal number of any
/// length with an optional exponent ("4000180.45123456", "1e3"), blanks,
/// an optional unit (m, km, nm, yd, ft, usft, either case; "ft" as in
/// parse_length(), "usft" always the US survey foot), blanks, and the end
/// of the text. A number without a unit is in default_unit. Errors:
/// parse_error that names what could not be read ("no number in 'abc'",
/// "cannot read 'mi' in '5 mi'"), not_finite for a number beyond the
/// double range.
QUILLON_API Result<double> read_length(std::string_view text, int default_unit) noexcept;

/// Longest text write_length() writes, without its terminating zero: the
/// digits of the largest double with 9 decimals, sign, point and unit.
constexpr std::size_t kMaxLengthText = 330;

/// Writes meters in the unit with the given decimals (clamped to 0..9),
/// followed directly by the unit's abbreviation: 1000.0, kKilometers, 2 ->
/// "1.00km"; -2.5, kMeters, 2 -> "-2.50m". The number is the correctly
/// rounded fixed notation printf's "%.*f" gives in the "C" locale. Returns
/// the length; see the buffer convention in docs/architecture.md.
QUILLON_API std::size_t write_length(char* out, std::size_t size, double meters, int unit, int decimals) noexcept;
/// @copydoc write_length(char*, std::size_t, double, int, int)
QUILLON_API std::size_t write_length(wchar_t* out, std::size_t size, double meters, int unit,
                                     int decimals) noexcept;

/// meters as write_length() writes them.
inline std::string format_length(double meters, int unit, int decimals) {
    char text[kMaxLengthText + 1];
    return std::string(text, write_length(text, sizeof text, meters, unit, decimals));
}

/// The seven display and entry settings, kept in section "units" of a
/// private-profile (INI) settings file under the keys key(0) .. key(6).
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
    /// The setting at index i of key(), or null for i of 7 or more.
    int* setting(std::size_t i) noexcept;
    /// @copydoc setting(std::size_t)
    const int* setting(std::size_t i) const noexcept;

    /// Reads the settings as the hosts' loadData does: a missing file,
    /// section or key gives 0, and a value gives its leading decimal digits
    /// after blanks and an optional sign (0 when it has none: "ft" reads 0).
    /// Never fails.
    static Units load(std::string_view path) noexcept;
    /// @copydoc load(std::string_view)
    static Units load(std::wstring_view path) noexcept;
    /// Reads the settings and checks them: the file must exist and be
    /// readable (io_error), every value present must be a whole number and
    /// nothing else (parse_error: "settings file x.ini: distUnits=ft is not a
    /// whole number"), and the two unit indexes must lie in 0..4
    /// (out_of_range). Keys that are missing are 0.
    static Result<Units> read(std::string_view path) noexcept;
    /// Writes the seven keys, each as a decimal integer, into section
    /// "units", keeping every other line of the file; creates the file when
    /// missing and replaces it atomically. io_error when any key could not be
    /// written (a read-only file, a missing folder).
    Status save(std::string_view path) const noexcept;
    /// @copydoc save(std::string_view) const
    Status save(std::wstring_view path) const noexcept;
};

/// Reads a typed length as parse_length() does with the distance unit of
/// the settings as the default unit.
QUILLON_API ParsedLength parse_distance(std::string_view text, const Units& settings) noexcept;
/// Writes a distance in the distance unit of the settings with that unit's
/// decimals: 1234.5678 with dist_units kKilometers -> "1.23457km".
QUILLON_API std::size_t write_distance(char* out, std::size_t size, double meters, const Units& settings) noexcept;
/// @copydoc write_distance(char*, std::size_t, double, const Units&)
QUILLON_API std::size_t write_distance(wchar_t* out, std::size_t size, double meters,
                                       const Units& settings) noexcept;
/// Writes a waypoint distance in the waypoint unit with the given decimals
/// (0..9): 1852.0 with wp_units kNauticalMiles and 1 decimal -> "1.0nm".
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
