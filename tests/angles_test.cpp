// Angles through both doors: the flat wide-text functions and the C++ API
// (UTF-8 and wide), one table each for writing, lenient parsing, checked
// reading, splitting into parts, and padding.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <cwchar>
#include <limits>
#include <string>

#include "quillon/angles.h"
#include "quillon/cpp/angles.hpp"
#include "quillon/cpp/text.hpp"
#include "test_support.h"

namespace {

using quillon::AngleStyle;
using quillon::Errc;
using testing_support::widen;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
enum class Kind { angle, latitude, longitude };

template <class CharT>
std::size_t write(Kind kind, CharT* out, std::size_t size, double degrees, int decimals, int style) {
    const AngleStyle s = quillon::angle_style(style);
    switch (kind) {
    case Kind::angle: return quillon::write_angle(out, size, degrees, decimals, s);
    case Kind::latitude: return quillon::write_latitude(out, size, degrees, decimals, s);
    default: return quillon::write_longitude(out, size, degrees, decimals, s);
    }
}

std::wstring flat(Kind kind, double degrees, int decimals, int style) {
    wchar_t out[64];
    std::wmemset(out, L'#', 64);
    (kind == Kind::angle ? angToStr : kind == Kind::latitude ? latToStr : lonToStr)(out, degrees, decimals, style);
    return out;
}

// Each row through the flat function, and through the API in both widths
// into a buffer of exactly the text's size and one a code unit short.
TEST(Angles, WritersGiveTheLayoutsRoundingAndCarriesThroughEveryDoor) {
    const struct {
        Kind kind;
        double degrees;
        int decimals, style;  // 0: DMS, else DM
        const char* expected;
    } rows[] = {
        {Kind::angle, 12.5, 0, 0, "  12 30 00"}, {Kind::angle, 12.5, 6, 1, "  12 30.000000"},
        {Kind::angle, -12.5, 3, 0, "- 12 30 00.000"}, {Kind::angle, 45.1234567, 6, 0, "  45  7 24.444120"},
        {Kind::angle, -359.9999999, 6, 0, "-359 59 59.999640"},  // the longest text
        {Kind::angle, 12.5, 7, 0, "  12 30 00.000000"},  // decimals above 6 count as 6
        {Kind::angle, 12.5, -3, 1, "  12 30"},           // and below 0 as 0
        {Kind::angle, 1.0, 2, 7, "   1 00.00"},          // any non-zero style is DM
        {Kind::angle, 359.9999999, 3, 0, "   0  0 00.000"},  // 360 reduces to 0
        {Kind::angle, 720.25, 2, 1, "   0 15.00"}, {Kind::angle, 10.9999999, 2, 0, "  11  0 00.00"},
        {Kind::angle, 10.9999999, 2, 1, "  11 00.00"},
        {Kind::angle, 10.0 + 59.9999 / 3600, 3, 0, "  10  1 00.000"},  // seconds carry only
        {Kind::angle, 10.0 + 59.9994 / 3600, 3, 0, "  10  0 59.999"},
        {Kind::angle, -0.0000001, 3, 0, "-  0  0 00.000"},  // a tiny negative keeps "-"
        {Kind::angle, -0.0, 3, 0, "   0  0 00.000"},      // negative zero does not
        {Kind::angle, kNaN, 3, 0, "   0  0 00.000"}, {Kind::angle, -kInf, 3, 0, "-  0  0 00.000"},
        {Kind::angle, 2147483648.0, 1, 0, "   0  0 00.0"},
        // The largest in-contract degrees: 2147483647 mod 360 = 127, and the
        // carry out of them reaches 2^31, 128 modulo 360.
        {Kind::angle, 2147483647.5, 1, 1, " 127 30.0"},
        {Kind::angle, std::nextafter(2147483648.0, 0.0), 0, 0, " 128  0 00"},
        {Kind::latitude, -33.5, 2, 0, "S33 30 00.00"}, {Kind::latitude, 51.477811, 4, 1, "N51 28.6687"},
        {Kind::latitude, 0.0, 0, 0, "N00 00 00"}, {Kind::latitude, 5.0 + 1.0 / 60, 1, 1, "N05 01.0"},
        {Kind::latitude, 89.99999999, 3, 0, "N90 00 00.000"}, {Kind::latitude, -1e-9, 2, 0, "S00 00 00.00"},
        {Kind::latitude, -0.0, 2, 0, "N00 00 00.00"},
        {Kind::latitude, std::nextafter(90.0, 100.0), 5, 0, "N00 00 00.000"},  // out of range
        {Kind::latitude, -90.0000001, 0, 1, "N00 00.000"}, {Kind::latitude, kNaN, 2, 0, "N00 00 00.00"},
        {Kind::longitude, 151.25, 3, 1, "E151 15.000"}, {Kind::longitude, -0.5, 0, 0, "W000 30 00"},
        {Kind::longitude, -122.4194, 3, 0, "W122 25 09.840"}, {Kind::longitude, 180.0, 6, 0, "E180 00 00.000000"},
        {Kind::longitude, -179.999999999, 3, 0, "W180 00 00.000"}, {Kind::longitude, 9.9999999, 0, 1, "E010 00"},
        {Kind::longitude, -1e-9, 2, 1, "W000 00.00"},
        {Kind::longitude, 200.0, 1, 0, "E00 00 00.000"},  // two degree digits
        {Kind::longitude, -kInf, 4, 1, "E00 00.000"},
    };
    for (const auto& row : rows) {
        const std::string expected = row.expected;
        SCOPED_TRACE(expected);
        EXPECT_EQ(flat(row.kind, row.degrees, row.decimals, row.style), widen(expected));
        char narrow[quillon::kMaxAngleText + 1];
        wchar_t wide[quillon::kMaxAngleText + 1];
        const std::size_t exact = expected.size() + 1;
        EXPECT_EQ(write(row.kind, narrow, exact, row.degrees, row.decimals, row.style), expected.size());
        EXPECT_EQ(std::string(narrow), expected);
        EXPECT_EQ(write(row.kind, wide, exact, row.degrees, row.decimals, row.style), expected.size());
        EXPECT_EQ(std::wstring(wide), widen(expected));
        std::memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(write(row.kind, narrow, exact - 1, row.degrees, row.decimals, row.style), 0u);
        EXPECT_EQ(std::string(narrow, 2), std::string("\0#", 2)) << "a text that does not fit leaves an empty one";
    }
    EXPECT_EQ(write(Kind::angle, static_cast<char*>(nullptr), 0, 1.0, 2, 0), 0u);
    EXPECT_EQ(quillon::format_longitude(-122.4194, 3, AngleStyle::dms), "W122 25 09.840");
}

// The stop is an index of code units; the flat function, UTF-8 and wide
// text agree on it for ASCII.
TEST(Angles, LenientParserReadsSignsLettersAndUpToThreeNumbersAlikeThroughEveryDoor) {
    const struct {
        const char* text;
        double degrees;
        std::size_t stop;
    } rows[] = {
        {"45 30 00 N", 45.5, 10}, {"45 30 00 S", -45.5, 10}, {"S 45 30", -45.5, 7}, {"-45 30", -45.5, 6},
        {"n 45 30", 45.5, 7},     {"w10", -10.0, 3},         {"e10", 10.0, 3},       {"+45", 45.0, 3},
        {"10s", -10.0, 3},        {"10 W", -10.0, 4},
        {"S45 30 W", -45.5, 7},  // a trailing letter is not taken after a leading sign
        {"-5 N", -5.0, 3},        {"45 .5", 45.0 + 0.5 / 60, 5}, {"45\t30", 45.5, 5}, {"  7", 7.0, 3},
        {"10 75", 11.25, 5},  // minutes of 60 or more are added in
        {"12.5.3", 12.5, 6},  // the whole run is consumed
        {"45 30 15.5 W rest", -(45 + 30 / 60.0 + 15.5 / 3600), 12},
        {"1 2 3 4", 1 + 2 / 60.0 + 3 / 3600.0, 6},  // the fourth number is left
        {"\r\n\v\f 9\n", 9.0, 7}, {"45-30", -45.0, 3},  // "-" ends the degrees and is the trailing sign
        {"45:30:00", 45.0, 2}, {"45\xC2\xB0" "30'", 45.0, 2},  // a degree sign ends the numbers
        {"45 30\xC2\xA0N", 45.5, 5},    // a no-break space is not white space
        {"", 0.0, 0}, {"   ", 0.0, 3}, {"N", 0.0, 1}, {".5", 0.0, 0}, {" - x", 0.0, 3}, {"x45", 0.0, 0},
        {"--5", 0.0, 1}, {"1234567890123", 123456789012.0 + 3 / 60.0, 13},  // number runs end after 12 characters
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const auto narrow = quillon::parse_angle(std::string_view(row.text));
        const auto wide = quillon::parse_angle(quillon::to_wide(row.text));
        EXPECT_DOUBLE_EQ(narrow.degrees, row.degrees);
        EXPECT_EQ(narrow.stop, row.stop);
        EXPECT_EQ(wide.degrees, narrow.degrees);
        if (std::string(row.text).find('\xC2') != std::string::npos) continue;
        EXPECT_EQ(wide.stop, narrow.stop);
        int stop = -1;
        EXPECT_DOUBLE_EQ(parseStrToAng(widen(row.text).c_str(), &stop), row.degrees);
        EXPECT_EQ(stop, int(row.stop));
        EXPECT_DOUBLE_EQ(strToAng(widen(row.text).c_str()), row.degrees);
    }
    const auto zero = quillon::parse_angle(std::string_view("45\0 N", 5));  // an ordinary character
    EXPECT_EQ(zero.degrees, 45.0);
    EXPECT_EQ(zero.stop, 2u);
}

quillon::Result<double> readAs(Kind kind, const std::string& text, bool wide) {
    const std::wstring w = quillon::to_wide(text);
    switch (kind) {
    case Kind::angle: return wide ? quillon::read_angle(w) : quillon::read_angle(text);
    case Kind::latitude: return wide ? quillon::read_latitude(w) : quillon::read_latitude(text);
    default: return wide ? quillon::read_longitude(w) : quillon::read_longitude(text);
    }
}

TEST(Angles, CheckedReadersTakeWholeAnglesAndSayWhatIsWrong) {
    const std::string longNumber(400, '9');
    const double dms = 45 + 30 / 60.0 + 15.5 / 3600;
    const struct {
        Kind kind;
        std::string text;
        double degrees;  // when ok
        Errc code;       // when not
        std::string message;
    } rows[] = {
        {Kind::angle, " 45 30 00 N ", 45.5, {}, ""}, {Kind::angle, "-45 30 15.5", -dms, {}, ""},
        {Kind::angle, "45.504306e", 45.504306, {}, ""},  // "e" without digits is east
        {Kind::angle, "0." + std::string(400, '0') + "1", 0.0, {}, ""},  // underflows to 0
        {Kind::angle, "1.5E-05", 1.5e-5, {}, ""}, {Kind::angle, "45\xC2\xB0" "30'15.5\"W", -dms, {}, ""},
        {Kind::angle, "45\xC2\xB0 30\xE2\x80\xB2 15.5\xE2\x80\xB3 S", -dms, {}, ""},
        {Kind::angle, "45\xC2\xB0" "30", 45.5, {}, ""},  // the last mark may be left out
        {Kind::angle, "45D 30M 15.5SS", -dms, {}, ""},  // the seconds' letter, then south
        {Kind::angle, "45:30:15.5 w", -dms, {}, ""}, {Kind::angle, "", 0, Errc::parse_error, "no angle in ''"},
        {Kind::angle, "N", 0, Errc::parse_error, "no angle in 'N'"},
        {Kind::angle, "45:", 0, Errc::parse_error, "cannot read ':' in '45:'"},
        {Kind::angle, "45\xC2\xB0" "30 15", 0, Errc::parse_error, "cannot read '15' in '45\xC2\xB0" "30 15'"},
        {Kind::angle, "45 30'", 0, Errc::parse_error, "cannot read ''' in '45 30''"},
        {Kind::angle, "12.5.3", 0, Errc::parse_error, "cannot read '.3' in '12.5.3'"},
        {Kind::angle, "10 20 30 40", 0, Errc::parse_error, "cannot read '40' in '10 20 30 40'"},
        {Kind::angle, "S45 30 W", 0, Errc::parse_error, "cannot read 'W' in 'S45 30 W'"},
        {Kind::angle, "45.5 30", 0, Errc::parse_error, "only the last number may have decimals: '45.5 30'"},
        {Kind::angle, "1e1 30", 0, Errc::parse_error, "only the last number may have decimals: '1e1 30'"},
        {Kind::angle, "10 75", 0, Errc::out_of_range, "minutes '75' are not below 60 in '10 75'"},
        {Kind::angle, "1 2 60.0", 0, Errc::out_of_range, "seconds '60.0' are not below 60 in '1 2 60.0'"},
        {Kind::angle, "91 0 0 N", 0, Errc::out_of_range, "a latitude beyond 90 degrees: '91 0 0 N'"},
        {Kind::angle, "181 0 0 E", 0, Errc::out_of_range, "a longitude beyond 180 degrees: '181 0 0 E'"},
        {Kind::angle, "1e400", 0, Errc::not_finite, "'1e400' is beyond the double range in '1e400'"},
        {Kind::angle, longNumber, 0, Errc::not_finite,
         "'" + longNumber + "' is beyond the double range in '" + longNumber + "'"},
        {Kind::latitude, "-90", -90.0, {}, ""},
        {Kind::latitude, "95", 0, Errc::out_of_range, "a latitude beyond 90 degrees: '95'"},
        {Kind::latitude, "45 E", 0, Errc::parse_error, "a latitude is north or south, not east or west: '45 E'"},
        {Kind::longitude, "W180", -180.0, {}, ""},
        {Kind::longitude, "-180.5", 0, Errc::out_of_range, "a longitude beyond 180 degrees: '-180.5'"},
        {Kind::longitude, "s10", 0, Errc::parse_error, "a longitude is east or west, not north or south: 's10'"},
    };
    for (const auto& row : rows) {
        for (const bool wide : {false, true}) {
            SCOPED_TRACE(row.text);
            const quillon::Result<double> result = readAs(row.kind, row.text, wide);
            EXPECT_DOUBLE_EQ(result.value_or(0.0), row.degrees);  // refused rows hold 0
            EXPECT_EQ(result.ok() ? Errc{} : result.error().code, row.code);
            EXPECT_EQ(result.ok() ? "" : result.error().message, row.message);
        }
    }
}

TEST(Angles, PartsAreMagnitudesWithRoundingAndCarry) {
    const struct {
        double angle;
        int decimals;
        int degrees, minutes;
        double seconds;
        int dmDegrees;
        double dmMinutes;
    } rows[] = {
        {-45.75, 3, 45, 45, 0.0, 45, 45.0}, {10.9999999, 2, 11, 0, 0.0, 11, 0.0},
        {400.5, 0, 400, 30, 0.0, 400, 30.0},  // no reduction
        {1.0 + 1.0 / 3600 + 0.00049 / 3600, 3, 1, 0, 1.0, 1, 0.017},
        {1.0 + 7.25 / 3600, -1, 1, 0, 10.0, 1, 0.0},  // negative decimals round to tens
        {kNaN, 3, 0, 0, 0.0, 0, 0.0}, {3e9, 3, 0, 0, 0.0, 0, 0.0},
        {std::nextafter(2147483648.0, 0.0), 0, 0, 0, 0.0, 0, 0.0},  // carry passes the int range
        {2147483647.5, 1, 2147483647, 30, 0.0, 2147483647, 30.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.angle);
        int d = -1, m = -1, dd = -1;
        double s = -1, dm = -1;
        degToDms(row.angle, row.decimals, &d, &m, &s);
        degToDecMin(row.angle, row.decimals, &dd, &dm);
        EXPECT_EQ(d, row.degrees);
        EXPECT_EQ(m, row.minutes);
        EXPECT_NEAR(s, row.seconds, 1e-9);
        EXPECT_EQ(dd, row.dmDegrees);
        EXPECT_NEAR(dm, row.dmMinutes, 1e-9);
    }
}

TEST(Angles, PadAndStripWorkInPlaceOrNotInBothWidths) {
    const struct {
        const char* text;
        int width;
        const char* padded;
    } pads[] = {{"abc", 5, "  abc"}, {"abc", 2, "ab"}, {"", 3, "   "}, {"abc", -4, ""}};
    for (const auto& row : pads) {
        wchar_t wide[16];
        pad(widen(row.text).c_str(), row.width, wide);
        EXPECT_EQ(std::wstring(wide), widen(row.padded)) << row.text << " to " << row.width;
        char narrow[16];
        quillon::pad(row.text, row.width, narrow);
        EXPECT_STREQ(narrow, row.padded);
    }
    wchar_t buffer[] = L"  N 51\t28\r\n\v\f40.1\u00a0\u3000";
    stripTCHARs(buffer, buffer);
    EXPECT_EQ(std::wstring(buffer), L"N512840.1\u00a0\u3000") << "the six white-space characters only";
    char bytes[16] = "ab";
    quillon::pad(bytes, 4, bytes);
    EXPECT_STREQ(bytes, "  ab");
    EXPECT_EQ(quillon::strip_blanks(" a\xC2\xA0" "b\tc ", bytes), 5u);
    EXPECT_STREQ(bytes, "a\xC2\xA0" "bc");
}

}  // namespace
