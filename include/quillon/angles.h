// Angles, latitudes and longitudes as fixed-layout text, and typed angles
// read back. Angles are decimal degrees; a negative sign means a negative
// angle, a southern latitude or a western longitude.
//
// style: 0 = degrees, minutes and seconds (DMS); any other value = degrees
// and decimal minutes (DM); the coding of Units::latLonStyle.
// decimals: decimals of the last component, 0..6 for the three text
// functions. Out-of-contract input is made safe rather than honoured:
// decimals below 0 count as 0 and above 6 as 6, and an angle that is NaN,
// infinite or whose whole degrees do not fit an int is written as if it were
// 0 with its sign. The longest text is 17 characters: an 18-character
// buffer always suffices.
#ifndef QUILLON_ANGLES_H
#define QUILLON_ANGLES_H

#include <quillon/export.h>
#include <wchar.h>

// Right-justifies text in a field of `width` blanks; out holds width + 1
// characters. Longer text is cut to width. A negative width gives "".
QUILLON_C QUILLON_API void pad(const wchar_t* text, int width, wchar_t* out);
// Copies text to out without blanks, tabs, line ends, vertical tabs and form
// feeds. out may be the same buffer as text.
QUILLON_C QUILLON_API void stripTCHARs(wchar_t* out, const wchar_t* text);

//   angToStr(12.5, 3, DMS)   -> "  12 30 00.000"     (degrees modulo 360)
//   angToStr(-12.5, 3, DMS)  -> "- 12 30 00.000"
//   angToStr(12.5, 4, DM)    -> "  12 30.0000"
QUILLON_C QUILLON_API void angToStr(wchar_t* out, double angle, int decimals, int style);
//   latToStr(51.477811, 3, DMS) -> "N51 28 40.120"; outside +-90 -> "N00 00 00.000"
QUILLON_C QUILLON_API void latToStr(wchar_t* out, double latitude, int decimals, int style);
//   lonToStr(-122.4194, 3, DMS) -> "W122 25 09.840"; outside +-180 -> "E00 00 00.000"
QUILLON_C QUILLON_API void lonToStr(wchar_t* out, double longitude, int decimals, int style);
// Magnitude of the angle split into degrees, minutes and seconds rounded half
// up at `decimals` decimals, with carries; no range reduction.
QUILLON_C QUILLON_API void degToDms(double angle, int decimals, int* degrees, int* minutes, double* seconds);
QUILLON_C QUILLON_API void degToDecMin(double angle, int decimals, int* degrees, double* minutes);

// Reads "45 30 00 N", "-45 30", "S45.5", "w10", "45 30 15.5 W rest" as signed
// decimal degrees; *stop receives the index of the first unread character.
// Text that cannot be read gives 0.0.
QUILLON_C QUILLON_API double parseStrToAng(const wchar_t* text, int* stop);
QUILLON_C QUILLON_API double strToAng(const wchar_t* text);

#endif
