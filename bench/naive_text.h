// The naive implementations of the library's texts: the same splitting (the
// library's own exported split functions), then one swprintf of the stored
// template with its digits patched, as the texts were first written. The
// library's output must equal theirs character for character.
#ifndef QUILLON_BENCH_NAIVE_TEXT_H
#define QUILLON_BENCH_NAIVE_TEXT_H

#include <wchar.h>

namespace naive {

// "%.Nlf%ls": 1234.5678 m in meters -> "1234.57m".
void distToStr(wchar_t* out, double meters, double toMeters, int decimals, const wchar_t* abbrev);
// " %3d %2d %06.3f" / " %3d %07.4f", lead "-" when negative, degrees mod 360.
void angToStr(wchar_t* out, double angle, int decimals, int style);
// "N%02d %02d %06.3f" / "N%02d %06.3f"; "N00 00 00.000" out of range.
void latToStr(wchar_t* out, double latitude, int decimals, int style);
// "E%03d %02d %06.3f" / "E%03d %06.3f"; "E00 00 00.000" out of range.
void lonToStr(wchar_t* out, double longitude, int decimals, int style);
// "%02d-%02d-%02d %02d:%02d:%04.1f", seconds truncated to tenths; "" for 0.0.
void timeToStr(wchar_t* out, double dos);

}  // namespace naive

#endif
