/// @file
/// Angles, latitudes and longitudes as fixed-layout text, and typed angles
/// read back. Angles are decimal degrees; a negative sign means a negative
/// angle, a southern latitude or a western longitude.
///
/// style: 0 = degrees, minutes and seconds (DMS); any other value = degrees
/// and decimal minutes (DM); the coding of Units::latLonStyle.
/// decimals: decimals of the last component, 0..6 for the three text
/// functions; the last component is rounded half up and carries into minutes
/// and degrees. Out-of-contract input is made safe rather than honoured:
/// decimals below 0 count as 0 and above 6 as 6; an angle that is NaN or
/// infinite or whose whole degrees do not fit an int (magnitude 2^31 or more)
/// is written as if it were 0 with its sign ("-  0  0 00.000" for -inf at 3
/// decimals, DMS). A NaN latitude or longitude is written as "N"/"E" zeros at
/// the given decimals; infinite ones are out of range. The longest text is 17
/// characters: an 18-character buffer always suffices.
#ifndef QUILLON_ANGLES_H
#define QUILLON_ANGLES_H

#include <quillon/export.h>
#include <wchar.h>

/// Right-justifies text in a field of `width` blanks; out holds width + 1
/// characters. Longer text is cut to width. A negative width gives "". out
/// may be the same buffer as text.
QUILLON_C QUILLON_API void pad(const wchar_t* text, int width, wchar_t* out);
/// Copies text to out without blanks, tabs, line feeds, vertical tabs, form
/// feeds and carriage returns; characters above U+007F (no-break spaces
/// included) are kept. out may be the same buffer as text.
QUILLON_C QUILLON_API void stripTCHARs(wchar_t* out, const wchar_t* text);

///   angToStr(12.5, 3, DMS)   -> "  12 30 00.000"     (degrees modulo 360)
///   angToStr(-12.5, 3, DMS)  -> "- 12 30 00.000"
///   angToStr(12.5, 4, DM)    -> "  12 30.0000"
QUILLON_C QUILLON_API void angToStr(wchar_t* out, double angle, int decimals, int style);
///   latToStr(51.477811, 3, DMS) -> "N51 28 40.120"; outside +-90 -> "N00 00 00.000"
QUILLON_C QUILLON_API void latToStr(wchar_t* out, double latitude, int decimals, int style);
///   lonToStr(-122.4194, 3, DMS) -> "W122 25 09.840"; outside +-180 -> "E00 00 00.000"
QUILLON_C QUILLON_API void lonToStr(wchar_t* out, double longitude, int decimals, int style);
/// Magnitude of the angle split into degrees, minutes and seconds rounded half
/// up at `decimals` decimals (any value; 10^decimals is the rounding unit),
/// with carries; no range reduction. -45.75 at 3 -> 45, 45, 0.0. NaN,
/// infinities and angles whose degrees (after the carry) do not fit an int
/// give all zeros.
QUILLON_C QUILLON_API void degToDms(double angle, int decimals, int* degrees, int* minutes, double* seconds);
/// Magnitude of the angle split into degrees and decimal minutes, rounded and
/// carried as degToDms does: 10.9999999 at 2 -> 11, 0.0.
QUILLON_C QUILLON_API void degToDecMin(double angle, int decimals, int* degrees, double* minutes);

/// Reads "45 30 00 N", "-45 30", "S45.5", "w10", "45 30 15.5 W rest" as signed
/// decimal degrees; *stop receives the index of the first unread character.
/// Numbers are runs of at most 12 digits and points separated by white space;
/// any other character ends the reading ("45:30" gives 45, stop 2). Text that
/// cannot be read gives 0.0: "" (stop 0), blanks only (stop at the end), or a
/// first character after blanks and sign that is not a digit (stop there).
QUILLON_C QUILLON_API double parseStrToAng(const wchar_t* text, int* stop);
/// parseStrToAng of the text, the stop position discarded.
QUILLON_C QUILLON_API double strToAng(const wchar_t* text);

#endif
