// The C++ API of units and distances: the checked readers' answers and
// messages, wide and narrow text agreeing, the buffer convention, and the
// flat adapters over the low-level forms.
#include <gtest/gtest.h>

#include <quillon/cpp/text.hpp>
#include <quillon/cpp/units.hpp>
#include <quillon/units.h>

#include <cwchar>
#include <filesystem>
#include <string>

#include "test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

constexpr double kUsFoot = 0.30480060960121924;

struct ReadCase {
    std::string text;
    int defaultUnit;
    double meters;            // when accepted
    quillon::Errc code;       // when rejected
    std::string message;      // "" when accepted
};

TEST(ReadLength, AcceptsWholeLengthsAndSaysWhatItCannotRead) {
    using quillon::Errc;
    const Errc none = Errc::invalid_argument;
    const std::string huge = "1" + std::string(400, '0');
    const ReadCase cases[] = {
        {"4000180.45123456", 0, 4000180.45123456, none, ""},
        {"1e2 m", 3, 100.0, none, ""},
        {"12.5 usft", 1, 12.5 * kUsFoot, none, ""},
        {"12.5 ft", 1, 12.5 * 0.3048, none, ""},
        {"12.5 FT", 0, 12.5 * kUsFoot, none, ""},
        {" N - 7 km\t", 0, -7000.0, none, ""},
        {".5nm", 0, 926.0, none, ""},
        {"2", quillon::kKilometers, 2000.0, none, ""},
        {"2", 9, 2.0, none, ""},
        {"0." + std::string(400, '0') + "1", 0, 0.0, none, ""},
        {huge + "e-395 m", 0, 1e5, none, ""},
        {"5 mi", 0, 0, Errc::parse_error, "cannot read 'mi' in '5 mi'"},
        {"10mi", 0, 0, Errc::parse_error, "cannot read 'mi' in '10mi'"},
        {"10 m junk ", 0, 0, Errc::parse_error, "cannot read 'junk' in '10 m junk '"},
        {"10,5 m", 0, 0, Errc::parse_error, "cannot read ',5 m' in '10,5 m'"},
        {"1.2.3", 0, 0, Errc::parse_error, "cannot read '.3' in '1.2.3'"},
        {"1e", 0, 0, Errc::parse_error, "cannot read 'e' in '1e'"},
        {"abc", 0, 0, Errc::parse_error, "no number in 'abc'"},
        {"W 5", 0, 0, Errc::parse_error, "no number in 'W 5'"},
        {"", 0, 0, Errc::parse_error, "no number in ''"},
        {"inf", 0, 0, Errc::parse_error, "no number in 'inf'"},
        {"1e400", 0, 0, Errc::not_finite, "number too large in '1e400'"},
        {huge + "e-10", 0, 0, Errc::not_finite, "number too large in '" + huge + "e-10'"},
        {"1e308 nm", 0, 0, Errc::not_finite, "number too large in '1e308 nm'"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.text);
        const quillon::Result<double> read = quillon::read_length(c.text, c.defaultUnit);
        ASSERT_EQ(read.ok(), c.message.empty()) << (read.ok() ? "" : read.error().message);
        if (read.ok()) {
            EXPECT_DOUBLE_EQ(*read, c.meters);
        } else {
            EXPECT_EQ(read.error().code, c.code);
            EXPECT_EQ(read.error().message, c.message);
        }
    }
}

TEST(ParseLength, WideAndNarrowTextReadAlike) {
    const struct {
        const char* text;
        int defaultUnit;
    } cases[] = {
        {"N 100 m", 0}, {"12.5 ft", 1}, {"12.5 ft", 2}, {"1234567890123", 0}, {"-7", 3},
        {"5 mi", 4},    {"x\t-.5 M rest", 0}, {"1.2.3", 0}, {"  ", 0}, {"N 5 \xC3\xA9", 0}, {"\xC3\xA9 5", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const quillon::ParsedLength narrow = quillon::parse_length(c.text, c.defaultUnit);
        const quillon::ParsedLength wide = quillon::parse_length(quillon::to_wide(c.text), c.defaultUnit);
        EXPECT_EQ(narrow.meters, wide.meters);
        EXPECT_EQ(narrow.stop, wide.stop);
    }
}

// Both widths and both kinds of unit: the whole text and its zero, or
// nothing when the zero does not fit.
TEST(WriteLength, WritesAllOrNothing) {
    const std::string full = "-1.50km";
    for (std::size_t size : {full.size() + 1, full.size(), std::size_t(1)}) {
        SCOPED_TRACE(size);
        const bool fits = size > full.size();
        const std::string expected = fits ? full : "";
        char narrow[16] = "untouched";
        wchar_t wide[16] = L"untouched";
        EXPECT_EQ(quillon::write_length(narrow, size, -1500.0, quillon::kKilometers, 2), expected.size());
        EXPECT_EQ(narrow, expected);
        EXPECT_EQ(quillon::write_length(wide, size, -1500.0, quillon::kKilometers, 2), expected.size());
        EXPECT_EQ(quillon::to_utf8(wide), expected);
        EXPECT_EQ(quillon::write_length(narrow, size, -1500.0, 1000.0, "km", 2), expected.size());
        EXPECT_EQ(narrow, expected);
        EXPECT_EQ(quillon::write_length(wide, size, -1500.0, 1000.0, L"km", 2), expected.size());
        EXPECT_EQ(quillon::to_utf8(wide), expected);
    }
    char untouched[] = "x";
    EXPECT_EQ(quillon::write_length(untouched, 0, 1.0, quillon::kMeters, 2), 0u);
    EXPECT_STREQ(untouched, "x");
}

class UnitsFile : public ::testing::Test {
protected:
    std::string file(const std::string& name = "settings.ini") { return dir_.file(name); }
    TempDir dir_;
};

std::string utf16le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
    return bytes;
}

TEST_F(UnitsFile, ReadChecksEveryValueAndNamesFileLineAndKey) {
    using quillon::Errc;
    std::filesystem::create_directory(file("folder.ini"));
    const struct {
        const char* name;
        std::string content;  // not written for "missing.ini" and "folder.ini"
        Errc code;
        std::string problem;  // after the file name; "" when the file reads
    } cases[] = {
        {"missing.ini", "", Errc::io_error, ": no such file"},
        {"folder.ini", "", Errc::io_error, ": is not a file"},
        {"ft.ini", "[units]\ndistUnits=ft\n", Errc::parse_error, ":2: distUnits=ft is not a whole number"},
        {"seven.ini", "[units]\r\ndistUnits=7\r\n", Errc::out_of_range, ":2: distUnits=7 is not a unit (0..4)"},
        {"negative.ini", "[units]\nwpUnits=-1\n", Errc::out_of_range, ":2: wpUnits=-1 is not a unit (0..4)"},
        {"big.ini", "[units]\nlatLonStyle=2147483648\n", Errc::out_of_range, ":2: latLonStyle=2147483648 is out of range"},
        {"comment.ini", "[units]\ndefaultEntry=2 ; grid\n", Errc::parse_error,
         ":2: defaultEntry=2 ; grid is not a whole number"},
        {"order.ini", "[units]\nwpUnits=9\ndistUnits=1x\n", Errc::parse_error, ":3: distUnits=1x is not a whole number"},
        {"utf16.ini", utf16le(u"[units]\r\nwpUnits=ft\U0001F4CF\r\n"), Errc::parse_error,
         ":2: wpUnits=ft\xF0\x9F\x93\x8F is not a whole number"},
        {"good.ini", "[Units]\nDISTUNITS = 3\nwpUnits=\"4\"\nlatLonStyle=+1\ndefaultLonHemi=\ndefaultDistCalc=-2147483648\n",
         Errc::io_error, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.content.empty()) writeBytes(file(c.name), c.content);
        const quillon::Result<quillon::Units> read = quillon::Units::read(file(c.name));
        ASSERT_EQ(read.ok(), c.problem.empty()) << (read.ok() ? "" : read.error().message);
        if (!read.ok()) {
            EXPECT_EQ(read.error().code, c.code);
            EXPECT_EQ(read.error().message, "settings file " + file(c.name) + c.problem);
        }
    }
    const quillon::Units good = *quillon::Units::read(file("good.ini"));
    EXPECT_EQ(good.dist_units, 3);
    EXPECT_EQ(good.wp_units, 4);
    EXPECT_EQ(good.lat_lon_style, 1);
    EXPECT_EQ(good.default_lon_hemi, 0);
    EXPECT_EQ(good.default_dist_calc, -2147483647 - 1);
}

TEST_F(UnitsFile, SaveReportsAKeyItCouldNotWrite) {
    const quillon::Units units;
    const std::string folderless = file("no-such-folder/settings.ini");
    const quillon::Status missing = units.save(folderless);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().code, quillon::Errc::io_error);
    EXPECT_EQ(missing.error().message, "settings file " + folderless + ": cannot write distUnits");
#if defined(_WIN32)
    GTEST_SKIP() << "read-only files are not enforced for root under Wine";
#endif
    const std::string original = "[units]\ndistUnits=1\n";
    writeBytes(file("ro.ini"), original);
    std::filesystem::permissions(file("ro.ini"), std::filesystem::perms::owner_read);
    const quillon::Status readOnly = units.save(quillon::to_wide(file("ro.ini")));
    ASSERT_FALSE(readOnly.ok());
    EXPECT_EQ(readOnly.error().code, quillon::Errc::io_error);
    EXPECT_EQ(readBytes(file("ro.ini")), original);
}

// A name beyond ASCII proves that each path form reaches the same file.
TEST_F(UnitsFile, SaveAndLoadRoundTripThroughBothPathForms) {
    quillon::Units units;
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) *units.setting(i) = int(i) - 3;
    units.dist_units = 4;
    units.default_dist_calc = -2147483647 - 1;
    const std::string narrow = file("r\xC3\xA9glages.ini");
    const std::wstring wide = quillon::to_wide(narrow);
    auto same = [&units](const quillon::Units& other) {
        for (std::size_t i = 0; i < quillon::Units::kCount; ++i) {
            if (*other.setting(i) != *units.setting(i)) return false;
        }
        return true;
    };
    ASSERT_TRUE(units.save(narrow).ok());
    EXPECT_TRUE(same(quillon::Units::load(wide)));
    units.wp_units = 2;
    ASSERT_TRUE(units.save(wide).ok());
    EXPECT_TRUE(same(quillon::Units::load(narrow)));
    const auto read = quillon::Units::read(narrow);
    ASSERT_TRUE(read.ok()) << read.error().message;
    EXPECT_TRUE(same(*read));
}

// Hosts may change the rows of the process-wide table: the flat functions
// follow them. Without that object the default unit is metres throughout.
TEST(FlatAdapters, FollowTheProcessWideRowsAndCountMetresWithoutThem) {
    deAllocUnits(L"");
    ASSERT_EQ(allocUnits(L""), 1);
    Unit& row = getUnits()->unitTable[quillon::kFeet];
    row.toMeters = 2.0;
    row.decimals = 1;
    std::wcscpy(row.abbrev, L"ell");
    getUnits()->distUnits = quillon::kFeet;
    wchar_t out[64];
    EXPECT_EQ(distToStr(out, 5.0), 6);
    EXPECT_STREQ(out, L"2.5ell");
    EXPECT_EQ(parseStrToDist(L"3"), 6.0);
    int stop = 0;
    EXPECT_EQ(parseStrToUnit(L"3 ft", &stop, quillon::kFeet), 3 * 0.3048);
    deAllocUnits(L"");
    EXPECT_EQ(parseStrToUnit(L"3 ft", &stop, quillon::kFeet), 3 * kUsFoot);
    EXPECT_EQ(parseStrToUnit(L"3", &stop, quillon::kKilometers), 3.0);
}

}  // namespace
