// Angle, latitude and longitude texts: fixed layouts, rounding and carries,
// hemisphere letters, out-of-range and out-of-contract input, and equality
// with swprintf of the patched templates over a randomized sweep.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>
#include <random>
#include <string>

#include "quillon/angles.h"

namespace {

constexpr int DMS = 0;
constexpr int DM = 1;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

enum class Kind { Angle, Latitude, Longitude };

const char* nameOf(Kind kind) {
    return kind == Kind::Angle ? "angToStr" : kind == Kind::Latitude ? "latToStr" : "lonToStr";
}

std::wstring format(Kind kind, double value, int decimals, int style) {
    wchar_t out[64];
    std::wmemset(out, L'#', 64);
    switch (kind) {
    case Kind::Angle: angToStr(out, value, decimals, style); break;
    case Kind::Latitude: latToStr(out, value, decimals, style); break;
    case Kind::Longitude: lonToStr(out, value, decimals, style); break;
    }
    return out;
}

struct TextCase {
    Kind kind;
    double value;
    int decimals;
    int style;
    const wchar_t* expected;
};

std::string describe(const TextCase& c) {
    char text[160];
    std::snprintf(text, sizeof text, "%s(%.17g, %d decimals, %s)", nameOf(c.kind), c.value,
                  c.decimals, c.style == DMS ? "DMS" : "DM");
    return text;
}

void expectTexts(const TextCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const TextCase& c = cases[i];
        EXPECT_EQ(format(c.kind, c.value, c.decimals, c.style), std::wstring(c.expected))
            << describe(c);
    }
}

TEST(AngleText, LayoutsInBothStylesAtEachDecimalCount) {
    const TextCase cases[] = {
        {Kind::Angle, 12.5, 0, DMS, L"  12 30 00"},
        {Kind::Angle, 12.5, 1, DMS, L"  12 30 00.0"},
        {Kind::Angle, 12.5, 2, DMS, L"  12 30 00.00"},
        {Kind::Angle, 12.5, 3, DMS, L"  12 30 00.000"},
        {Kind::Angle, 12.5, 4, DMS, L"  12 30 00.0000"},
        {Kind::Angle, 12.5, 5, DMS, L"  12 30 00.00000"},
        {Kind::Angle, 12.5, 6, DMS, L"  12 30 00.000000"},
        {Kind::Angle, 12.5, 0, DM, L"  12 30"},
        {Kind::Angle, 12.5, 1, DM, L"  12 30.0"},
        {Kind::Angle, 12.5, 4, DM, L"  12 30.0000"},
        {Kind::Angle, 12.5, 6, DM, L"  12 30.000000"},
        {Kind::Angle, -12.5, 3, DMS, L"- 12 30 00.000"},
        {Kind::Angle, 7.25, 2, DM, L"   7 15.00"},
        {Kind::Angle, 45.1234567, 6, DMS, L"  45  7 24.444120"},
        {Kind::Angle, 359.5, 6, DMS, L" 359 30 00.000000"},  // the longest text: 17
        {Kind::Angle, 12.5, 7, DMS, L"  12 30 00.000000"},  // decimals above 6 count as 6
        {Kind::Angle, 12.5, -3, DM, L"  12 30"},            // and below 0 as 0
        {Kind::Latitude, -33.5, 2, DMS, L"S33 30 00.00"},
        {Kind::Latitude, 51.477811, 3, DMS, L"N51 28 40.120"},
        {Kind::Latitude, 51.477811, 4, DM, L"N51 28.6687"},
        {Kind::Latitude, 0.0, 0, DMS, L"N00 00 00"},
        {Kind::Latitude, 0.0, 0, DM, L"N00 00"},
        {Kind::Latitude, -90.0, 3, DMS, L"S90 00 00.000"},
        {Kind::Latitude, 5.0 + 1.0 / 60, 1, DM, L"N05 01.0"},
        {Kind::Longitude, 151.25, 3, DM, L"E151 15.000"},
        {Kind::Longitude, -0.5, 0, DMS, L"W000 30 00"},
        {Kind::Longitude, -122.4194, 3, DMS, L"W122 25 09.840"},
        {Kind::Longitude, 5.5, 1, DM, L"E005 30.0"},
        {Kind::Longitude, 180.0, 6, DMS, L"E180 00 00.000000"},
        {Kind::Longitude, -180.0, 5, DM, L"W180 00.00000"},
    };
    expectTexts(cases, std::size(cases));
}

TEST(AngleText, RoundingCarriesIntoMinutesAndDegrees) {
    const TextCase cases[] = {
        {Kind::Angle, 359.9999999, 3, DMS, L"   0  0 00.000"},  // 360 reduces to 0
        {Kind::Angle, 400.5, 3, DMS, L"  40 30 00.000"},
        {Kind::Angle, 720.25, 2, DM, L"   0 15.00"},
        {Kind::Angle, 10.9999999, 2, DMS, L"  11  0 00.00"},
        {Kind::Angle, 10.9999999, 2, DM, L"  11 00.00"},
        {Kind::Angle, 10.0 + 59.9999 / 3600, 3, DMS, L"  10  1 00.000"},  // seconds only
        {Kind::Angle, 10.0 + 59.9994 / 3600, 3, DMS, L"  10  0 59.999"},
        {Kind::Latitude, 89.99999999, 3, DMS, L"N90 00 00.000"},
        {Kind::Latitude, -89.99999999, 3, DM, L"S90 00.000"},
        {Kind::Longitude, -179.999999999, 3, DMS, L"W180 00 00.000"},
        {Kind::Longitude, 9.9999999, 0, DM, L"E010 00"},
    };
    expectTexts(cases, std::size(cases));
}

TEST(AngleText, SignAndHemisphereLetters) {
    const TextCase cases[] = {
        {Kind::Angle, -0.0000001, 3, DMS, L"-  0  0 00.000"},  // a tiny negative keeps "-"
        {Kind::Angle, -0.0, 3, DMS, L"   0  0 00.000"},        // negative zero does not
        {Kind::Angle, -359.9999999, 1, DM, L"-  0 00.0"},
        {Kind::Latitude, -0.0, 2, DMS, L"N00 00 00.00"},
        {Kind::Latitude, -1e-9, 2, DMS, L"S00 00 00.00"},
        {Kind::Longitude, -0.0, 2, DM, L"E000 00.00"},
        {Kind::Longitude, -1e-9, 2, DM, L"W000 00.00"},
        {Kind::Angle, 1.0, 2, 7, L"   1 00.00"},  // any non-zero style is DM
    };
    expectTexts(cases, std::size(cases));
}

TEST(AngleText, OutOfRangeCoordinatesGiveTheZeroTemplateWhateverTheDecimals) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
        const TextCase cases[] = {
            {Kind::Latitude, 95.0, decimals, DMS, L"N00 00 00.000"},
            {Kind::Latitude, -90.0000001, decimals, DM, L"N00 00.000"},
            {Kind::Latitude, std::nextafter(90.0, 100.0), decimals, DMS, L"N00 00 00.000"},
            {Kind::Latitude, -kInf, decimals, DMS, L"N00 00 00.000"},
            {Kind::Longitude, 200.0, decimals, DMS, L"E00 00 00.000"},  // two degree digits
            {Kind::Longitude, -180.0000001, decimals, DM, L"E00 00.000"},
            {Kind::Longitude, kInf, decimals, DM, L"E00 00.000"},
        };
        expectTexts(cases, std::size(cases));
    }
}

TEST(AngleText, UnsplittableAnglesAreWrittenAsZeroWithTheirSign) {
    const TextCase cases[] = {
        {Kind::Angle, kNaN, 3, DMS, L"   0  0 00.000"},
        {Kind::Angle, kInf, 2, DM, L"   0 00.00"},
        {Kind::Angle, -kInf, 3, DMS, L"-  0  0 00.000"},
        {Kind::Angle, 2147483648.0, 1, DMS, L"   0  0 00.0"},
        {Kind::Angle, -1e300, 6, DM, L"-  0 00.000000"},
        {Kind::Latitude, kNaN, 2, DMS, L"N00 00 00.00"},
        {Kind::Longitude, kNaN, 0, DM, L"E000 00"},
        // The largest in-contract degrees: 2147483647 mod 360 = 127, and the
        // carry out of them reaches 2^31, 128 modulo 360.
        {Kind::Angle, 2147483647.5, 1, DM, L" 127 30.0"},
        {Kind::Angle, std::nextafter(2147483648.0, 0.0), 0, DMS, L" 128  0 00"},
    };
    expectTexts(cases, std::size(cases));
}

TEST(AngleText, NoTextPassesSeventeenCharacters) {
    const double values[] = {0.0, -359.99999, 359.9999999999, -2147483647.9, -89.9999999, -180.0,
                             kNaN, -kInf, 1e300};
    for (Kind kind : {Kind::Angle, Kind::Latitude, Kind::Longitude}) {
        for (double v : values) {
            for (int decimals = -2; decimals <= 12; ++decimals) {
                for (int style : {DMS, DM}) {
                    const std::wstring text = format(kind, v, decimals, style);
                    EXPECT_LE(text.size(), 17u) << nameOf(kind) << "(" << v << ", " << decimals
                                                << ") wrote \"" << std::string(text.begin(), text.end())
                                                << "\"";
                }
            }
        }
    }
}

struct PartsCase {
    double angle;
    int decimals;
    int degrees, minutes;
    double seconds;
    int dmDegrees;
    double dmMinutes;
};

TEST(AngleParts, SplitMagnitudesWithRoundingAndCarry) {
    const PartsCase cases[] = {
        {-45.75, 3, 45, 45, 0.0, 45, 45.0},
        {10.9999999, 2, 11, 0, 0.0, 11, 0.0},
        {12.5, 3, 12, 30, 0.0, 12, 30.0},
        {400.5, 0, 400, 30, 0.0, 400, 30.0},  // no reduction
        {1.0 + 1.0 / 3600 + 0.00049 / 3600, 3, 1, 0, 1.0, 1, 0.017},
        {1.0 + 7.25 / 3600, -1, 1, 0, 10.0, 1, 0.0},  // negative decimals round to tens
        {kNaN, 3, 0, 0, 0.0, 0, 0.0},
        {-kInf, 3, 0, 0, 0.0, 0, 0.0},
        {3e9, 3, 0, 0, 0.0, 0, 0.0},
        {std::nextafter(2147483648.0, 0.0), 0, 0, 0, 0.0, 0, 0.0},  // carry passes the int range
        {2147483647.5, 1, 2147483647, 30, 0.0, 2147483647, 30.0},
    };
    for (const PartsCase& c : cases) {
        int d = -1, m = -1, dd = -1;
        double s = -1, dm = -1;
        degToDms(c.angle, c.decimals, &d, &m, &s);
        degToDecMin(c.angle, c.decimals, &dd, &dm);
        EXPECT_EQ(d, c.degrees) << "degToDms(" << c.angle << ", " << c.decimals << ")";
        EXPECT_EQ(m, c.minutes) << "degToDms(" << c.angle << ", " << c.decimals << ")";
        EXPECT_NEAR(s, c.seconds, 1e-9) << "degToDms(" << c.angle << ", " << c.decimals << ")";
        EXPECT_EQ(dd, c.dmDegrees) << "degToDecMin(" << c.angle << ", " << c.decimals << ")";
        EXPECT_NEAR(dm, c.dmMinutes, 1e-9) << "degToDecMin(" << c.angle << ", " << c.decimals << ")";
    }
}

TEST(AngleParts, HugeDecimalsStayDefined) {
    int d = -1, m = -1;
    double s = 0.0;
    degToDms(1.5, 400, &d, &m, &s);  // 10^400 is infinite: the seconds are NaN
    EXPECT_EQ(d, 1);
    EXPECT_EQ(m, 30);
    EXPECT_TRUE(std::isnan(s));
    degToDms(1.5, -400, &d, &m, &s);  // 10^-400 is 0: 0/0
    EXPECT_TRUE(std::isnan(s));
}

// ---- equality with swprintf of the patched templates ----------------------

// The stored template with the width digit of its last conversion set to w
// and its precision digit to p: "%06.3f" -> "%0w.pf".
std::wstring patched(const wchar_t* stored, int p) {
    std::wstring f = stored;
    const std::size_t at = f.rfind(L"%0");
    f[at + 2] = wchar_t(L'0' + (p == 0 ? 2 : 3 + p));
    f[at + 4] = wchar_t(L'0' + p);
    return f;
}

// A plain transcription of the splitting rules, printed with swprintf.
std::wstring printfReference(Kind kind, double x, int p, int style) {
    const bool dms = style == DMS;
    wchar_t buf[64];
    if ((kind == Kind::Latitude && (x < -90 || x > 90)) ||
        (kind == Kind::Longitude && (x < -180 || x > 180))) {
        const wchar_t* stored = kind == Kind::Latitude ? (dms ? L"N%02d %02d %06.3f" : L"N%02d %06.3f")
                                                       : (dms ? L"E%02d %02d %06.3f" : L"E%02d %06.3f");
        if (dms) std::swprintf(buf, 64, stored, 0, 0, 0.0);
        else std::swprintf(buf, 64, stored, 0, 0.0);
        return buf;
    }
    const double a = std::fabs(x);
    const double P = std::pow(10.0, p);
    int d = int(a);
    const double f = a - d;
    int m = 0;
    double last;
    if (dms) {
        m = int(f * 60);
        const double g = f * 60 - m;
        last = std::floor(g * 60 * P + 0.5) / P;
        if (last >= 60) {
            last -= 60;
            if (++m >= 60) {
                m -= 60;
                ++d;
            }
        }
    } else {
        last = std::floor(f * 60 * P + 0.5) / P;
        if (last >= 60) {
            last -= 60;
            ++d;
        }
    }
    const wchar_t* stored;
    wchar_t lead;
    if (kind == Kind::Angle) {
        d %= 360;
        stored = dms ? L" %3d %2d %06.3f" : L" %3d %07.4f";
        lead = x < 0 ? L'-' : L' ';
    } else if (kind == Kind::Latitude) {
        stored = dms ? L"N%02d %02d %06.3f" : L"N%02d %06.3f";
        lead = x < 0 ? L'S' : L'N';
    } else {
        stored = dms ? L"E%03d %02d %06.3f" : L"E%03d %06.3f";
        lead = x < 0 ? L'W' : L'E';
    }
    const std::wstring fmt = patched(stored, p);
    if (dms) std::swprintf(buf, 64, fmt.c_str(), d, m, last);
    else std::swprintf(buf, 64, fmt.c_str(), d, last);
    buf[0] = lead;
    return buf;
}

// Values where the texts are most fragile: rounding ties of the last
// component at p decimals (a few ulps either side), carries, tiny negatives,
// negative zero, coordinate bounds, plus plain uniform values.
class AngleSampler {
public:
    explicit AngleSampler(unsigned seed) : rng_(seed) {}

    double next(Kind kind, int p, int style) {
        const double bound = kind == Kind::Latitude ? 90.0 : kind == Kind::Longitude ? 180.0 : 1000.0;
        const double P = std::pow(10.0, p);
        switch (pick(8)) {
        case 0: return uniform(-bound, bound);
        case 1: return uniform(-1e6, 1e6);
        case 2: {  // a rounding tie of the seconds or decimal minutes
            const double whole = pick(int(bound) + 1) + (style == DMS ? pick(60) / 60.0 : 0.0);
            const double ticks = (pick(int(60 * P)) + 0.5) / P;
            const double v = whole + (style == DMS ? ticks / 3600 : ticks / 60);
            return signed_(nudge(v));
        }
        case 3: {  // just below a carry into minutes or degrees
            const double whole = pick(int(bound) + 1) + (style == DMS ? 59 / 60.0 : 0.0);
            const double last = 60.0 - (0.5 + uniform(-1e-6, 1e-6)) / P;
            return signed_(whole + (style == DMS ? last / 3600 : last / 60));
        }
        case 4: return -uniform(0.0, 1e-6);
        case 5: return pick(2) ? -0.0 : 0.0;
        case 6: return signed_(nudge(bound) + uniform(-1e-6, 1e-6) * pick(2));
        default: return signed_(pick(361) + pick(60) / 60.0 + pick(60) / 3600.0);
        }
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    double uniform(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng_); }
    double signed_(double v) { return pick(2) ? -v : v; }
    double nudge(double v) {
        for (int steps = pick(7) - 3; steps != 0; steps += steps > 0 ? -1 : 1)
            v = std::nextafter(v, steps > 0 ? kInf : -kInf);
        return v;
    }

    std::mt19937_64 rng_;
};

TEST(AngleText, EqualsSwprintfOfThePatchedTemplatesOverARandomSweep) {
    AngleSampler sampler(20240601);
    int mismatches = 0;
    for (int i = 0; i < 200000 && mismatches < 10; ++i) {
        for (Kind kind : {Kind::Angle, Kind::Latitude, Kind::Longitude}) {
            for (int style : {DMS, DM}) {
                const int p = i % 7;
                const double v = sampler.next(kind, p, style);
                const std::wstring expected = printfReference(kind, v, p, style);
                const std::wstring actual = format(kind, v, p, style);
                if (actual != expected) {
                    ++mismatches;
                    ADD_FAILURE() << describe({kind, v, p, style, L""}) << ": expected \""
                                  << std::string(expected.begin(), expected.end()) << "\", got \""
                                  << std::string(actual.begin(), actual.end()) << "\"";
                }
            }
        }
    }
}

// ---- pad and stripTCHARs --------------------------------------------------

TEST(Pad, RightJustifiesOrCuts) {
    struct Case {
        const wchar_t* text;
        int width;
        const wchar_t* expected;
    } cases[] = {
        {L"abc", 5, L"  abc"}, {L"abc", 2, L"ab"}, {L"abc", 3, L"abc"},
        {L"", 3, L"   "},      {L"abc", 0, L""},   {L"abc", -4, L""},
    };
    for (const Case& c : cases) {
        wchar_t out[16];
        std::wmemset(out, L'#', 16);
        pad(c.text, c.width, out);
        EXPECT_EQ(std::wstring(out), c.expected) << "pad(\"" << testing::PrintToString(c.text)
                                                 << "\", " << c.width << ")";
    }
}

TEST(Pad, WorksInPlace) {
    wchar_t buf[16] = L"ab";
    pad(buf, 6, buf);
    EXPECT_EQ(std::wstring(buf), L"    ab");
}

TEST(StripTChars, RemovesTheSixWhiteSpaceCharactersOnly) {
    struct Case {
        const wchar_t* text;
        const wchar_t* expected;
    } cases[] = {
        {L" a b\tc ", L"abc"},
        {L"", L""},
        {L" \t\n\v\f\r", L""},
        {L"a\u00a0b\u3000c", L"a\u00a0b\u3000c"},  // no-break and ideographic spaces are kept
        {L"x\x01y", L"x\x01y"},
    };
    for (const Case& c : cases) {
        wchar_t out[32];
        stripTCHARs(out, c.text);
        EXPECT_EQ(std::wstring(out), c.expected) << "stripTCHARs of " << testing::PrintToString(c.text);
    }
}

TEST(StripTChars, WorksInPlace) {
    wchar_t buf[] = L"  N 51\t28 40.1 ";
    stripTCHARs(buf, buf);
    EXPECT_EQ(std::wstring(buf), L"N512840.1");
}

}  // namespace
