/// @file
/// Angles, latitudes and longitudes as fixed-layout text, their parts as
/// numbers, and typed angles read back.
///
/// Angles are decimal degrees; a negative sign means a negative angle, a
/// southern latitude or a western longitude. Decimals are those of the last
/// component (the seconds in DMS style, the minutes in DM style), 0..6 for
/// the texts (values outside are clamped); the last component is rounded
/// half up and carries into minutes and degrees. Every function here is
/// reentrant and none allocates, except the std::string conveniences and
/// read_angle().
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
/// zero ("-359 59 59.999999" and "E179 59 59.999999"): a buffer of
/// kMaxAngleText + 1 always suffices.
constexpr std::size_t kMaxAngleText = 17;

/// Writes an angle: a sign character ("-" or blank), then degrees modulo 360
/// blank-padded to 3, and minutes blank-padded to 2 (DMS) and the last
/// component zero-padded: 12.5, 3, dms -> "  12 30 00.000"; -12.5 -> "- 12
/// 30 00.000"; 12.5, 4, dm -> "  12 30.0000"; 45.1234567, 6, dms -> "  45  7
/// 24.444120"; 12.5, 0, dms -> "  12 30 00" (no point). The last component is
/// rounded half up (see split_dms()) and carries into minutes and degrees
/// before the reduction: 359.9999999, 3, dms -> "   0  0 00.000". Negative
/// zero is written with a blank, any negative angle with "-". The text is
/// the exactly rounded printf "%0w.pf" of that component: no error beyond the
/// half unit of its last decimal.
/// @param out      the buffer; may be null when size is 0
/// @param size     its size in code units, terminating zero included
/// @param degrees  the angle in decimal degrees, any value: NaN, infinities
///                 and magnitudes of 2^31 degrees or more are written as 0
///                 with their sign ("-  0  0 00.000" for -infinity)
/// @param decimals decimals of the last component, 0..6; values below count
///                 as 0 and above as 6
/// @param style    DMS or DM; any value other than AngleStyle::dms is DM
/// @return the length of the text, or 0 when it does not fit size (an empty
///         text is written then if size > 0)
QUILLON_API std::size_t write_angle(char* out, std::size_t size, double degrees, int decimals,
                                    AngleStyle style) noexcept;
/// @copydoc write_angle(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_angle(wchar_t* out, std::size_t size, double degrees, int decimals,
                                    AngleStyle style) noexcept;
/// Writes a latitude: "N" for 0 and above (negative zero included) or "S",
/// degrees zero-padded to 2, minutes to 2, the last component as
/// write_angle() writes it, with no reduction: 51.477811, 3, dms -> "N51 28
/// 40.120"; 51.477811, 4, dm -> "N51 28.6687"; -33.5, 2, dms -> "S33 30
/// 00.00"; 89.99999999, 3, dms -> "N90 00 00.000". Below -90 or above 90
/// (infinities included) the zero text "N00 00 00.000" (DMS) or "N00
/// 00.000" (DM) is written whatever the decimals; NaN is written as "N"
/// and zeros at the given decimals. Parameters and result as write_angle().
QUILLON_API std::size_t write_latitude(char* out, std::size_t size, double degrees, int decimals,
                                       AngleStyle style) noexcept;
/// @copydoc write_latitude(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_latitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                                       AngleStyle style) noexcept;
/// Writes a longitude: "E" for 0 and above (negative zero included) or "W",
/// degrees zero-padded to 3, then as write_latitude(): -122.4194, 3, dms ->
/// "W122 25 09.840"; 151.25, 3, dm -> "E151 15.000". Below -180 or above 180
/// the zero text has two degree digits, "E00 00 00.000" (DMS) or "E00
/// 00.000" (DM), whatever the decimals; NaN is written as "E" and zeros at
/// the given decimals ("E000 00 00.00"). Parameters and result as
/// write_angle().
QUILLON_API std::size_t write_longitude(char* out, std::size_t size, double degrees, int decimals,
                                        AngleStyle style) noexcept;
/// @copydoc write_longitude(char*, std::size_t, double, int, AngleStyle)
QUILLON_API std::size_t write_longitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                                        AngleStyle style) noexcept;

/// An angle as write_angle() writes it. Throws std::bad_alloc only if the
/// string cannot be allocated.
inline std::string format_angle(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_angle(text, sizeof text, degrees, decimals, style));
}
/// A latitude as write_latitude() writes it. Throws std::bad_alloc only if
/// the string cannot be allocated.
inline std::string format_latitude(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_latitude(text, sizeof text, degrees, decimals, style));
}
/// A longitude as write_longitude() writes it. Throws std::bad_alloc only if
/// the string cannot be allocated.
inline std::string format_longitude(double degrees, int decimals, AngleStyle style) {
    char text[kMaxAngleText + 1];
    return std::string(text, write_longitude(text, sizeof text, degrees, decimals, style));
}

/// Degrees, minutes and seconds of an angle's magnitude.
struct DmsParts {
    int degrees = 0;       ///< whole degrees, 0..2147483647, not reduced modulo 360
    int minutes = 0;       ///< whole minutes, 0..59
    double seconds = 0.0;  ///< seconds rounded half up at the decimals, 0 up to 60
};
/// Degrees and decimal minutes of an angle's magnitude.
struct DmParts {
    int degrees = 0;       ///< whole degrees, 0..2147483647, not reduced modulo 360
    double minutes = 0.0;  ///< minutes rounded half up at the decimals, 0 up to 60
};

/// The magnitude of an angle (decimal degrees, the sign ignored) split into
/// degrees, minutes and seconds: the seconds are floor(s * 10^decimals +
/// 0.5) / 10^decimals, so rounded half up on the binary value, and a result
/// of 60 carries into the minutes and from there into the degrees: -45.75,
/// 3 -> 45, 45, 0.0; 10.9999999, 2 -> 11, 0, 0.0. decimals may be any value:
/// -1 rounds to tens of seconds; far beyond 22 in either direction the
/// power overflows to infinity or 0 and the seconds are NaN. NaN,
/// infinities and angles whose degrees, after the carry, do not fit an int
/// (the largest double below 2^31 at 2 decimals, where its seconds round
/// up to 60) give all zeros.
QUILLON_API DmsParts split_dms(double degrees, int decimals) noexcept;
/// The magnitude split into degrees and decimal minutes, the minutes rounded
/// half up at decimals with the carry into the degrees, as split_dms():
/// 10.9999999, 2 -> 11, 0.0; 51.477811, 4 -> 51, 28.6687.
QUILLON_API DmParts split_dm(double degrees, int decimals) noexcept;

/// What the lenient angle parser read: the angle and where it stopped.
struct ParsedAngle {
    double degrees = 0.0;  ///< signed decimal degrees; 0.0 when nothing was read
    std::size_t stop = 0;  ///< index of the first unread byte (character, for wide text)
};

/// Reads a typed angle as the hosts' parseStrToAng does: an optional sign
/// or hemisphere letter (+ N E, or - S W, either case), one to three numbers
/// separated by white space (degrees, minutes, seconds; each a run of at
/// most 12 digits and points, read as its longest decimal prefix: "12.5.3"
/// is 12.5), then, when no sign came first, an optional trailing sign or
/// letter: "45 30 00 N" -> 45.5; "S45.5" -> -45.5; "45 30 15.5 W rest" ->
/// -45.504306, stop at "rest". Any other character ends the numbers ("45:30"
/// reads 45, stop 2); minutes and seconds are not range-checked ("10 75"
/// reads 11.25). Text that cannot be read gives 0.0: "" (stop 0), blanks
/// only (stop at the end), or a first character after blanks and sign that
/// is not a digit (stop there). White space is blank, tab, line feed,
/// vertical tab, form feed and carriage return; a zero code unit is an
/// ordinary character that ends the numbers. The result is the parts summed
/// in double precision, degrees + minutes / 60 + seconds / 3600 (about one
/// unit in the last place). read_angle() is the checked reader.
QUILLON_API ParsedAngle parse_angle(std::string_view text) noexcept;
/// @copydoc parse_angle(std::string_view)
QUILLON_API ParsedAngle parse_angle(std::wstring_view text) noexcept;

/// Reads a whole typed angle and nothing else, as a program should read an
/// angle a user typed: blanks, an optional sign or hemisphere letter (as
/// parse_angle() takes them), blanks, one to three decimal numbers of any
/// length (degrees, minutes, seconds), where only the last may have a point
/// or an exponent, then, when no sign came first, an optional sign or
/// letter, blanks and the end of the text. The numbers are written one of
/// four ways, told by what follows the degrees:
/// - separated by white space: "45 30 15.5", "45 30.25", "45.504306",
///   "1.5E-05" (an "e" is an exponent only when digits follow it: "45e" is
///   45 east);
/// - with signs: 45°30'15" (U+00B0, then ' or U+2032 or U+2019, then " or
///   '' or U+2033 or U+201D), blanks allowed after each sign;
/// - with letters: 45d30m15s (either case), blanks allowed after each
///   letter; an "s" right after the seconds is their letter, so a southern
///   angle takes its "S" after that or a sign before;
/// - with colons: 45:30:15, nothing between the numbers but the colons.
/// With signs or letters the last number may go without its own ("45°30"
/// is 45.5). "45 30 00 N" -> 45.5; "S 45 30" -> -45.5; "45°30'15\"W" ->
/// -45.504167. The value is computed as in parse_angle(). A hemisphere
/// letter makes the text a latitude (N, S), which may not pass 90 degrees,
/// or a longitude (E, W), which may not pass 180.
/// Errors: parse_error that names what could not be read ("no angle in
/// 'N'", "cannot read ':' in '45:'", "only the last number may have
/// decimals: '45.5 30'"), out_of_range for minutes or seconds of 60 or more
/// ("minutes '75' are not below 60 in '10 75'") and for a latitude or
/// longitude beyond its range ("a latitude beyond 90 degrees: '91 0 0 N'",
/// "a longitude beyond 180 degrees: '181 E'"), not_finite for a number
/// beyond the double range, no_memory when the message cannot be stored.
/// The texts in messages are UTF-8.
QUILLON_API Result<double> read_angle(std::string_view text) noexcept;
/// @copydoc read_angle(std::string_view)
QUILLON_API Result<double> read_angle(std::wstring_view text) noexcept;
/// Reads a whole typed latitude: read_angle(), and besides, the angle lies
/// within -90..90 degrees whatever its letter ("95" is "a latitude beyond 90
/// degrees: '95'", out_of_range), and a letter, if any, is N or S
/// ("45 E" is "a latitude is north or south, not east or west: '45 E'",
/// parse_error). Decimal degrees of up to 17 significant digits, as
/// spreadsheets export them, read to the nearest double.
QUILLON_API Result<double> read_latitude(std::string_view text) noexcept;
/// @copydoc read_latitude(std::string_view)
QUILLON_API Result<double> read_latitude(std::wstring_view text) noexcept;
/// Reads a whole typed longitude: read_angle(), and besides, the angle lies
/// within -180..180 degrees whatever its letter (out_of_range beyond), and a
/// letter, if any, is E or W (parse_error for N or S).
QUILLON_API Result<double> read_longitude(std::string_view text) noexcept;
/// @copydoc read_longitude(std::string_view)
QUILLON_API Result<double> read_longitude(std::wstring_view text) noexcept;

/// Right-justifies text in a field of width code units (bytes of UTF-8, a
/// sequence cut at the width stays cut): "abc", 5 -> "  abc"; a longer text
/// is cut to width ("abc", 2 -> "ab"). Writes width code units and a
/// terminating zero into out, which holds width + 1 and may be the text's
/// own buffer (the text is moved, not copied). A negative width writes "".
QUILLON_API void pad(std::wstring_view text, int width, wchar_t* out) noexcept;
/// @copydoc pad(std::wstring_view, int, wchar_t*)
QUILLON_API void pad(std::string_view text, int width, char* out) noexcept;
/// Copies text to out without blanks, tabs, line feeds, vertical tabs, form
/// feeds and carriage returns (characters beyond U+007F, no-break spaces
/// included, are kept, and so are UTF-8 sequences), with a terminating
/// zero; returns the length. out holds text.size() + 1 and may be the
/// text's own buffer: " a b\tc " -> "abc".
QUILLON_API std::size_t strip_blanks(std::wstring_view text, wchar_t* out) noexcept;
/// @copydoc strip_blanks(std::wstring_view, wchar_t*)
QUILLON_API std::size_t strip_blanks(std::string_view text, char* out) noexcept;

}  // namespace quillon

#endif
