/// @file
/// Angles, latitudes and longitudes as fixed-layout text, their parts as
/// numbers, and typed angles read back.
///
/// Angles are decimal degrees; a negative sign means a negative angle, a
/// southern latitude or a western longitude. Decimals are those of the last
/// component (the seconds in DMS style, the minutes in DM style), 0..6 for
/// the texts (values outside are clamped); the last component is rounded
/// half up and carries into minutes and degrees.
#ifndef QUILLON_CPP_ANGLES_HPP
#define QUILLON_CPP_ANGLES_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

/// How an angle is written.
enum class AngleStyle : int {
    dms = 0,  ///< degrees, minutes and seconds: "N51 28 40.120"
    dm = 1,   ///< degrees and decimal minutes: "N51 28.6687"
};

/// The style of the hosts' style flag (Units::lat_lon_style): 0 is DMS, any
/// other value DM.
constexpr AngleStyle angle_style(int flag) noexcept { return flag == 0 ? AngleStyle::dms : AngleStyle::dm; }

/// Longest text the write_ functions below write, without the terminating
/// zero ("-359 59 59.999999" and "E179 59 59.999999").
constexpr std::size_t kMaxAngleText = 17;

/// Writes an angle: a sign character ("-" or blank), then degrees modulo 360
/// blank-padded to 3, and minutes blank-padded to 2 (DMS) and the last
/// component zero-padded: 12.5, 3, dms -> "  12 30 00.000"; -12.5 ->
/// "- 12 30 00.000"; 12.5, 4, dm -> "  12 30.0000"; 45.1234567, 6, dms ->
/// "  45  7 24.444120". NaN, infinities and magnitudes of 2^31 degrees or
/// more are written as 0 with their sign.
QUILLON_API std::size_t write_angle(char* out, std::size_t size, double degrees, int decimals,
                                    AngleStyle style) noexcept;
/// @copydoc write_angle(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_angle(wchar_t* out, std::size_t size, double degrees, int decimals,
                                    AngleStyle style) noexcept;
/// Writes a latitude: "N" or "S", degrees zero-padded to 2, minutes to 2:
/// 51.477811, 3, dms -> "N51 28 40.120"; -33.5, 2, dms -> "S33 30 00.00".
/// Outside -90..90 (and NaN) the zero text "N00 00 00.000" (DMS) or
/// "N00 00.000" (DM) is written whatever the decimals.
QUILLON_API std::size_t write_latitude(char* out, std::size_t size, double degrees, int decimals,
                                       AngleStyle style) noexcept;
/// @copydoc write_latitude(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_latitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                                       AngleStyle style) noexcept;
/// Writes a longitude: "E" or "W", degrees zero-padded to 3: -122.4194, 3,
/// dms -> "W122 25 09.840". Outside -180..180 (and NaN) "E00 00 00.000" or
/// "E00 00.000".
QUILLON_API std::size_t write_longitude(char* out, std::size_t size, double degrees, int decimals,
                                        AngleStyle style) noexcept;
/// @copydoc write_longitude(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_longitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                                        AngleStyle style) noexcept;

/// An angle as write_angle() writes it.
inline std::string format_angle(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_angle(text, sizeof text, degrees, decimals, style));
}
/// A latitude as write_latitude() writes it.
inline std::string format_latitude(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_latitude(text, sizeof text, degrees, decimals, style));
}
/// A longitude as write_longitude() writes it.
inline std::string format_longitude(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_longitude(text, sizeof text, degrees, decimals, style));
}

/// Degrees, minutes and seconds of an angle's magnitude.
struct DmsParts {
    int degrees = 0;       ///< whole degrees, not reduced
    int minutes = 0;       ///< 0..59
    double seconds = 0.0;  ///< rounded half up at the decimals, below 60
};
/// Degrees and decimal minutes of an angle's magnitude.
struct DmParts {
    int degrees = 0;       ///< whole degrees, not reduced
    double minutes = 0.0;  ///< rounded half up at the decimals, below 60
};

/// The magnitude split into degrees, minutes and seconds, the seconds
/// rounded half up at decimals (any value: 10^decimals is the rounding
/// unit) with the carry rippled upward: -45.75, 3 -> 45, 45, 0.0;
/// 10.9999999, 2 -> 11, 0, 0.0. NaN, infinities and angles whose degrees do
/// not fit an int give all zeros.
QUILLON_API DmsParts split_dms(double degrees, int decimals) noexcept;
/// The magnitude split into degrees and decimal minutes, as split_dms().
QUILLON_API DmParts split_dm(double degrees, int decimals) noexcept;

/// What the lenient angle parser read: the angle and where it stopped.
struct ParsedAngle {
    double degrees = 0.0;  ///< signed decimal degrees; 0.0 when nothing was read
    std::size_t stop = 0;  ///< index of the first unread byte (character, for wide text)
};

/// Reads a typed angle as the hosts' parseStrToAng does: an optional sign
/// or hemisphere letter (+ N E, or - S W, either case), one to three numbers
/// separated by white space (degrees, minutes, seconds; each a run of at
/// most 12 digits and points), then, when no sign came first, an optional
/// trailing sign or letter: "45 30 00 N" -> 45.5; "S45.5" -> -45.5;
/// "45 30 15.5 W rest" -> -45.504306, stop at "rest". Any other character
/// ends the numbers ("45:30" reads 45, stop 2); minutes and seconds are not
/// range-checked ("10 75" reads 11.25). Text that cannot be read gives 0.0:
/// "" (stop 0), blanks only (stop at the end), or a first character after
/// blanks and sign that is not a digit (stop there). read_angle() is the
/// checked reader.
QUILLON_API ParsedAngle parse_angle(std::string_view text) noexcept;
/// @copydoc parse_angle(std::string_view)
QUILLON_API ParsedAngle parse_angle(std::wstring_view text) noexcept;

/// Right-justifies text in a field of width code units: "abc", 5 -> "  abc";
/// a longer text is cut to width ("abc", 2 -> "ab"). Writes width code units
/// and a terminating zero into out, which holds width + 1 and may be the
/// text's own buffer. A negative width writes "".
QUILLON_API void pad(std::wstring_view text, int width, wchar_t* out) noexcept;
/// @copydoc pad(std::wstring_view, int, wchar_t*)
QUILLON_API void pad(std::string_view text, int width, char* out) noexcept;
/// Copies text to out without blanks, tabs, line feeds, vertical tabs, form
/// feeds and carriage returns (characters beyond U+007F are kept), with a
/// terminating zero; returns the length. out holds text.size() + 1 and may
/// be the text's own buffer: " a b\tc " -> "abc".
QUILLON_API std::size_t strip_blanks(std::wstring_view text, wchar_t* out) noexcept;
/// @copydoc strip_blanks(std::wstring_view, wchar_t*)
QUILLON_API std::size_t strip_blanks(std::string_view text, char* out) noexcept;

}  // namespace quillon

#endif
