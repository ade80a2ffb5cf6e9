// Fixed-layout angle, latitude and longitude texts. Each is what printf
// writes for its template, " %3d %2d %06.3f" (angles), "N%02d %02d %06.3f"
// (latitudes) or "E%03d %02d %06.3f" (longitudes) and their DM forms, with
// the last conversion's width and precision patched to w and p (w = 3 + p,
// or 2 when p = 0), written digit by digit in either character type.
#include <cstdint>

#include "angles/angle_split.h"
#include "text/digits.h"
#include "quillon/cpp/angles.hpp"

namespace quillon {
namespace {

using digits::putUnsigned;

constexpr int kMaxDecimals = angles::kMaxUnitDecimals;
constexpr unsigned kDegreesInCircle = 360;

int usableDecimals(int decimals) {
    if (decimals < 0) return 0;
    if (decimals > kMaxDecimals) return kMaxDecimals;
    return decimals;
}

// The last component as "%0w.pf" writes it, from its count k of 10^-p
// units. The split's double of it is k / 10^p rounded, within 4e-15 of the
// exact quotient, far closer than the 0.5 * 10^-p to a rounding tie at p
// decimals; and k / 10^p is below 60. So its text is k's digits, p + 2 at
// least, with the point moved in before the last p.
template <class CharT>
CharT* putLast(CharT* out, std::uint32_t k, int decimals) {
    CharT* end = putUnsigned(out, k, 2 + decimals, CharT('0'));
    if (decimals == 0) return end;
    for (CharT* p = end; p != end - decimals; --p) *p = p[-1];
    end[-decimals] = CharT('.');
    return end + 1;
}

// How the degrees and minutes are padded: blanks for angles, zeros for the
// coordinates; three degree digits for angles and longitudes, two for
// latitudes.
struct Layout {
    int degreeWidth;
    char fill;
};

constexpr Layout kAngleLayout{3, ' '};
constexpr Layout kLatitudeLayout{2, '0'};
constexpr Layout kLongitudeLayout{3, '0'};

// Writes lead, then the split magnitude in the style, into out, which holds
// kMaxAngleText + 1; returns the length. reduce writes the degrees modulo 360
// (angles); coordinates keep them as split.
template <class CharT>
std::size_t writeSplit(CharT* out, CharT lead, const Layout& layout, double degrees, int decimals,
                       AngleStyle style, bool reduce) {
    const CharT fill = CharT(layout.fill);
    CharT* end = out;
    *end++ = lead;
    if (style == AngleStyle::dms) {
        const auto split = angles::splitDmsUnits(degrees, decimals);
        const auto shown = static_cast<unsigned>(reduce ? split.degrees % kDegreesInCircle : split.degrees);
        end = putUnsigned(end, shown, layout.degreeWidth, fill);
        *end++ = CharT(' ');
        end = putUnsigned(end, static_cast<unsigned>(split.minutes), 2, fill);
        *end++ = CharT(' ');
        end = putLast(end, split.seconds, decimals);
    } else {
        const auto split = angles::splitDmUnits(degrees, decimals);
        const auto shown = static_cast<unsigned>(reduce ? split.degrees % kDegreesInCircle : split.degrees);
        end = putUnsigned(end, shown, layout.degreeWidth, fill);
        *end++ = CharT(' ');
        end = putLast(end, split.minutes, decimals);
    }
    *end = CharT(0);
    return static_cast<std::size_t>(end - out);
}

// 12.5 at 3, DMS -> "  12 30 00.000"; -12.5 -> "- 12 30 00.000"; 400.5 ->
// "  40 30 00.000" (degrees modulo 360 after the carry).
template <class CharT>
std::size_t angleText(CharT* out, double degrees, int decimals, AngleStyle style) {
    const CharT lead = degrees < 0.0 ? CharT('-') : CharT(' ');  // negative zero keeps the blank
    return writeSplit(out, lead, kAngleLayout, degrees, usableDecimals(decimals), style, true);
}

// Out of range: the unpatched template printed with zeros, whatever the
// decimals, with two degree digits for both coordinates.
template <class CharT>
std::size_t zeroText(CharT* out, char letter, AngleStyle style) {
    const char* text = style == AngleStyle::dms ? "00 00 00.000" : "00 00.000";
    std::size_t n = 0;
    out[n++] = CharT(letter);
    while (*text != '\0') out[n++] = CharT(*text++);
    out[n] = CharT(0);
    return n;
}

// A coordinate within -limit..limit: its letter, then the split magnitude
// with no reduction. NaN is within (no comparison holds) and splits as 0.
template <class CharT>
std::size_t coordinateText(CharT* out, double degrees, int decimals, AngleStyle style, double limit,
                           char positive, char negative, const Layout& layout) {
    if (degrees < -limit || degrees > limit) return zeroText(out, positive, style);
    const CharT letter = CharT(degrees < 0.0 ? negative : positive);
    return writeSplit(out, letter, layout, degrees, usableDecimals(decimals), style, false);
}

}  // namespace

std::size_t write_angle(char* out, std::size_t size, double degrees, int decimals, AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(
        out, size, [&](char* text) { return angleText(text, degrees, decimals, style); });
}

std::size_t write_angle(wchar_t* out, std::size_t size, double degrees, int decimals, AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(
        out, size, [&](wchar_t* text) { return angleText(text, degrees, decimals, style); });
}

// 51.477811 at 3, DMS -> "N51 28 40.120"; -90 -> "S90 00 00.000"; 95 -> "N00 00 00.000".
std::size_t write_latitude(char* out, std::size_t size, double degrees, int decimals, AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(out, size, [&](char* text) {
        return coordinateText(text, degrees, decimals, style, 90.0, 'N', 'S', kLatitudeLayout);
    });
}

std::size_t write_latitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                           AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(out, size, [&](wchar_t* text) {
        return coordinateText(text, degrees, decimals, style, 90.0, 'N', 'S', kLatitudeLayout);
    });
}

// -122.4194 at 3, DMS -> "W122 25 09.840"; 200 -> "E00 00 00.000" (two
// degree digits out of range).
std::size_t write_longitude(char* out, std::size_t size, double degrees, int decimals, AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(out, size, [&](char* text) {
        return coordinateText(text, degrees, decimals, style, 180.0, 'E', 'W', kLongitudeLayout);
    });
}

std::size_t write_longitude(wchar_t* out, std::size_t size, double degrees, int decimals,
                            AngleStyle style) noexcept {
    return digits::writeFitted<kMaxAngleText>(out, size, [&](wchar_t* text) {
        return coordinateText(text, degrees, decimals, style, 180.0, 'E', 'W', kLongitudeLayout);
    });
}

}  // namespace quillon
