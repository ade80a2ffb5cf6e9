// Fixed-layout angle, latitude and longitude texts. Each writes exactly what
// swprintf writes for its stored template with the last conversion's width
// and precision digits patched to w and p (w = 3 + p, or 2 when p = 0); the
// digits come from the exact formatters, not from a general swprintf.
#include "angles/angle_split.h"
#include "text/format.h"
#include "quillon/angles.h"

namespace {

using quillon::angles::splitDm;
using quillon::angles::splitDms;
namespace fmt = quillon::fmt;

constexpr int kMinDecimals = 0;
constexpr int kMaxDecimals = 6;
constexpr int kDegreesInCircle = 360;

int usableDecimals(int decimals) {
    if (decimals < kMinDecimals) return kMinDecimals;
    if (decimals > kMaxDecimals) return kMaxDecimals;
    return decimals;
}

// Width of the last component: two integer digits, then a point and the
// decimals when there are any.
int lastComponentWidth(int decimals) { return decimals == 0 ? 2 : 3 + decimals; }

bool isDmsStyle(int style) { return style == 0; }

// "%0w.pf" of the last component.
int writeLast(wchar_t* out, double value, int decimals) {
    return fmt::fixedZeroPadded(out, value, lastComponentWidth(decimals), decimals);
}

// One leading character, then "%Nd %Nd %0w.pf" (DMS) or "%Nd %0w.pf" (DM),
// the degrees and minutes blank-padded (angles) or zero-padded (coordinates)
// to degreeWidth and 2 characters.
struct Layout {
    int degreeWidth;
    bool zeroPad;
};

void writeDms(wchar_t* out, wchar_t lead, const Layout& layout, long long degrees, int minutes,
              double seconds, int decimals) {
    int n = 0;
    out[n++] = lead;
    n += fmt::integer(out + n, static_cast<int>(degrees), layout.degreeWidth, layout.zeroPad);
    out[n++] = L' ';
    n += fmt::integer(out + n, minutes, 2, layout.zeroPad);
    out[n++] = L' ';
    n += writeLast(out + n, seconds, decimals);
    out[n] = L'\0';
}

void writeDm(wchar_t* out, wchar_t lead, const Layout& layout, long long degrees, double minutes,
             int decimals) {
    int n = 0;
    out[n++] = lead;
    n += fmt::integer(out + n, static_cast<int>(degrees), layout.degreeWidth, layout.zeroPad);
    out[n++] = L' ';
    n += writeLast(out + n, minutes, decimals);
    out[n] = L'\0';
}

constexpr Layout kAngleLayout{3, false};      // " %3d %2d %06.3f", " %3d %07.4f"
constexpr Layout kLatitudeLayout{2, true};    // "N%02d %02d %06.3f", "N%02d %06.3f"
constexpr Layout kLongitudeLayout{3, true};   // "E%03d %02d %06.3f", "E%03d %06.3f"

// A coordinate in range: hemisphere letter, then the split magnitude with no
// reduction. 51.477811 at 3, DMS -> "N51 28 40.120"; at 4, DM -> "N51 28.6687".
void writeCoordinate(wchar_t* out, double value, int decimals, int style, wchar_t positive,
                     wchar_t negative, const Layout& layout) {
    const int p = usableDecimals(decimals);
    const wchar_t letter = value < 0.0 ? negative : positive;
    if (isDmsStyle(style)) {
        const auto parts = splitDms(value, p);
        writeDms(out, letter, layout, parts.degrees, parts.minutes, parts.seconds, p);
    } else {
        const auto parts = splitDm(value, p);
        writeDm(out, letter, layout, parts.degrees, parts.minutes, p);
    }
}

// Out of range: the unpatched template printed with zeros, whatever the
// decimals. Both coordinates use two degree digits here.
void writeOutOfRange(wchar_t* out, wchar_t letter, int style) {
    const wchar_t* text = isDmsStyle(style) ? L"00 00 00.000" : L"00 00.000";
    out[0] = letter;
    out[1 + fmt::copyText(out + 1, text)] = L'\0';
}

}  // namespace

// 12.5 at 3, DMS -> "  12 30 00.000"; -12.5 -> "- 12 30 00.000";
// 45.1234567 at 6, DMS -> "  45  7 24.444120"; 12.5 at 4, DM -> "  12 30.0000";
// 12.5 at 0 -> "  12 30 00" (DMS), "  12 30" (DM); 400.5 -> "  40 30 00.000".
void angToStr(wchar_t* out, double angle, int decimals, int style) {
    const int p = usableDecimals(decimals);
    const wchar_t lead = angle < 0.0 ? L'-' : L' ';  // negative zero keeps the blank
    if (isDmsStyle(style)) {
        const auto parts = splitDms(angle, p);
        writeDms(out, lead, kAngleLayout, parts.degrees % kDegreesInCircle, parts.minutes,
                 parts.seconds, p);
    } else {
        const auto parts = splitDm(angle, p);
        writeDm(out, lead, kAngleLayout, parts.degrees % kDegreesInCircle, parts.minutes, p);
    }
}

// -33.5 at 2, DMS -> "S33 30 00.00"; -90 -> "S90 00 00.000"; 95 -> "N00 00 00.000".
void latToStr(wchar_t* out, double latitude, int decimals, int style) {
    if (latitude < -90.0 || latitude > 90.0) {
        writeOutOfRange(out, L'N', style);
        return;
    }
    writeCoordinate(out, latitude, decimals, style, L'N', L'S', kLatitudeLayout);
}

// -122.4194 at 3, DMS -> "W122 25 09.840"; 151.25 at 3, DM -> "E151 15.000";
// 200 -> "E00 00 00.000" (two degree digits out of range).
void lonToStr(wchar_t* out, double longitude, int decimals, int style) {
    if (longitude < -180.0 || longitude > 180.0) {
        writeOutOfRange(out, L'E', style);
        return;
    }
    writeCoordinate(out, longitude, decimals, style, L'E', L'W', kLongitudeLayout);
}
