// The C++ API of the angles: UTF-8 and wide writers agree and keep the
// buffer convention, the lenient parser reads both alike, and the checked
// readers take the marked forms, range-check latitudes and longitudes and
// say what is wrong.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "quillon/cpp/angles.hpp"
#include "quillon/cpp/text.hpp"

namespace {

using quillon::AngleStyle;
using quillon::Errc;

enum class Kind { angle, latitude, longitude };

template <class CharT>
std::size_t write(Kind kind, CharT* out, std::size_t size, double degrees, int decimals, AngleStyle style) {
    switch (kind) {
    case Kind::angle: return quillon::write_angle(out, size, degrees, decimals, style);
    case Kind::latitude: return quillon::write_latitude(out, size, degrees, decimals, style);
    default: return quillon::write_longitude(out, size, degrees, decimals, style);
    }
}

// Each row through both character types, into a buffer of the longest text,
// one of exactly the text's size and one a code unit short.
TEST(AnglesApi, NarrowAndWideWritersWriteTheSameTextAndKeepTheBufferConvention) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        Kind kind;
        double degrees;
        int decimals;
        AngleStyle style;
        const char* expected;
    } rows[] = {
        {Kind::angle, -359.9999999, 6, AngleStyle::dms, "-359 59 59.999640"},  // the longest text
        {Kind::angle, 12.5, 0, AngleStyle::dm, "  12 30"},
        {Kind::angle, -0.0, 9, AngleStyle::dms, "   0  0 00.000000"},  // decimals clamp to 6
        {Kind::latitude, 51.477811, 4, AngleStyle::dm, "N51 28.6687"},
        {Kind::latitude, -89.99999999, 3, AngleStyle::dms, "S90 00 00.000"},
        {Kind::latitude, 95.0, 5, AngleStyle::dm, "N00 00.000"},
        {Kind::latitude, nan, 1, AngleStyle::dms, "N00 00 00.0"},
        {Kind::longitude, -122.4194, 3, AngleStyle::dms, "W122 25 09.840"},
        {Kind::longitude, 180.5, 2, AngleStyle::dms, "E00 00 00.000"},
        {Kind::longitude, 9.9999999, 0, quillon::angle_style(7), "E010 00"},
    };
    for (const auto& row : rows) {
        const std::string expected = row.expected;
        const std::wstring wideExpected(expected.begin(), expected.end());
        char narrow[quillon::kMaxAngleText + 1];
        wchar_t wide[quillon::kMaxAngleText + 1];
        SCOPED_TRACE(expected);
        EXPECT_EQ(write(row.kind, narrow, sizeof narrow, row.degrees, row.decimals, row.style), expected.size());
        EXPECT_EQ(std::string(narrow), expected);
        EXPECT_EQ(write(row.kind, wide, std::size(wide), row.degrees, row.decimals, row.style), expected.size());
        EXPECT_EQ(std::wstring(wide), wideExpected);

        const std::size_t exact = expected.size() + 1;
        std::memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(write(row.kind, narrow, exact, row.degrees, row.decimals, row.style), expected.size());
        EXPECT_EQ(std::string(narrow), expected);
        std::memset(narrow, '#', sizeof narrow);
        EXPECT_EQ(write(row.kind, narrow, exact - 1, row.degrees, row.decimals, row.style), 0u);
        EXPECT_EQ(narrow[0], '\0') << "a text that does not fit leaves an empty one";
        EXPECT_EQ(narrow[1], '#') << "and nothing else";
        wide[0] = L'#';
        EXPECT_EQ(write(row.kind, wide, exact - 1, row.degrees, row.decimals, row.style), 0u);
        EXPECT_EQ(wide[0], L'\0');
        EXPECT_EQ(write(row.kind, static_cast<char*>(nullptr), 0, row.degrees, row.decimals, row.style), 0u);
    }
    EXPECT_EQ(quillon::format_longitude(-122.4194, 3, AngleStyle::dms), "W122 25 09.840");
}

// The stop is an index of code units: bytes of UTF-8, characters of wide
// text; both agree on ASCII up to the stop.
TEST(AnglesApi, LenientParserReadsUtf8AndWideTextAlike) {
    const struct {
        const char* text;
        double degrees;
        std::size_t stop;
    } rows[] = {
        {"45 30 15.5 W rest", -(45 + 30 / 60.0 + 15.5 / 3600), 12},
        {"45\xC2\xB0" "30'", 45.0, 2},             // a degree sign ends the numbers
        {"45 30\xC2\xA0N", 45.5, 5},               // a no-break space is not white space
        {"\xC2\xA0" "45", 0.0, 0},
        {"", 0.0, 0},
    };
    for (const auto& row : rows) {
        const auto narrow = quillon::parse_angle(std::string_view(row.text));
        const auto wide = quillon::parse_angle(quillon::to_wide(row.text));
        EXPECT_DOUBLE_EQ(narrow.degrees, row.degrees) << row.text;
        EXPECT_EQ(narrow.stop, row.stop) << row.text;
        EXPECT_EQ(wide.degrees, narrow.degrees) << row.text;
        EXPECT_EQ(wide.stop, narrow.stop) << row.text;
    }
    // An embedded zero is an ordinary character, not the end of the text.
    const auto zero = quillon::parse_angle(std::string_view("45\0 N", 5));
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

TEST(AnglesApi, CheckedReadersTakeWholeAnglesAndSayWhatIsWrong) {
    const std::string longNumber(400, '9');
    const double dms = 45 + 30 / 60.0 + 15.5 / 3600;
    const struct {
        Kind kind;
        std::string text;
        double degrees;  // when ok
        Errc code;       // when not
        std::string message;
    } rows[] = {
        {Kind::angle, " 45 30 00 N ", 45.5, {}, ""},
        {Kind::angle, "S 45 30", -45.5, {}, ""},
        {Kind::angle, "-45 30 15.5", -dms, {}, ""},
        {Kind::angle, "45.504306e", 45.504306, {}, ""},  // "e" without digits is east
        {Kind::angle, "0." + std::string(400, '0') + "1", 0.0, {}, ""},  // underflows to 0
        {Kind::angle, "1.5E-05", 1.5e-5, {}, ""},
        {Kind::angle, "-122.626920833333", -122.626920833333, {}, ""},
        {Kind::angle, "45\xC2\xB0" "30'15.5\"W", -dms, {}, ""},
        {Kind::angle, "45\xC2\xB0 30\xE2\x80\xB2 15.5\xE2\x80\xB3 S", -dms, {}, ""},
        {Kind::angle, "45\xC2\xB0" "30", 45.5, {}, ""},  // the last mark may be left out
        {Kind::angle, "45d30m15.5s", dms, {}, ""},
        {Kind::angle, "45D 30M 15.5SS", -dms, {}, ""},  // the seconds' letter, then south
        {Kind::angle, "45:30:15.5 w", -dms, {}, ""},
        {Kind::angle, "", 0, Errc::parse_error, "no angle in ''"},
        {Kind::angle, "N", 0, Errc::parse_error, "no angle in 'N'"},
        {Kind::angle, "45:", 0, Errc::parse_error, "cannot read ':' in '45:'"},
        {Kind::angle, "45\xC2\xB0" "30 15", 0, Errc::parse_error, "cannot read '15' in '45\xC2\xB0" "30 15'"},
        {Kind::angle, "45 30'", 0, Errc::parse_error, "cannot read ''' in '45 30''"},
        {Kind::angle, "12.5.3", 0, Errc::parse_error, "cannot read '.3' in '12.5.3'"},
        {Kind::angle, ".", 0, Errc::parse_error, "cannot read '.' in '.'"},
        {Kind::angle, "S45 30 W", 0, Errc::parse_error, "cannot read 'W' in 'S45 30 W'"},
        {Kind::angle, "1 2 3 4", 0, Errc::parse_error, "cannot read '4' in '1 2 3 4'"},
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
            const quillon::Result<double> result = readAs(row.kind, row.text, wide);
            if (row.message.empty()) {
                ASSERT_TRUE(result.ok()) << row.text << ": " << result.error().message;
                EXPECT_DOUBLE_EQ(*result, row.degrees) << row.text;
            } else {
                ASSERT_FALSE(result.ok()) << row.text;
                EXPECT_EQ(result.error().code, row.code) << row.text;
                EXPECT_EQ(result.error().message, row.message);
            }
        }
    }
}

TEST(AnglesApi, NarrowPadAndStripWorkOnBytesAndKeepUtf8Sequences) {
    char out[16];
    EXPECT_EQ(quillon::strip_blanks(" a\xC2\xA0" "b\tc ", out), 5u);
    EXPECT_STREQ(out, "a\xC2\xA0" "bc");
    char buffer[16] = "ab";
    quillon::pad(buffer, 4, buffer);  // in place
    EXPECT_STREQ(buffer, "  ab");
    quillon::pad("abcdef", 3, out);
    EXPECT_STREQ(out, "abc");
}

}  // namespace
