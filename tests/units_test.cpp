// Units and distances through both doors: the flat functions over the
// process-wide settings, and the C++ API's readers, writers and settings
// file.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <filesystem>
#include <string>
#include <vector>

#include "quillon/cpp/text.hpp"
#include "quillon/cpp/units.hpp"
#include "quillon/units.h"
#include "test_support.h"

namespace {

using quillon::Errc;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::widen;
using testing_support::writeBytes;

constexpr double kUsFoot = 0.30480060960121924;

// Every test starts and ends without a process-wide instance.
class UnitsSettings : public ::testing::Test {
protected:
    void SetUp() override { deAllocUnits(L""); }
    void TearDown() override { deAllocUnits(L""); }
    std::string file(const std::string& name = "settings.ini") { return dir_.file(name); }
    std::wstring path(const std::string& name = "settings.ini") { return widen(file(name)); }
    TempDir dir_;
};

// The flat parser, and the API's lenient parser in both widths, alike.
TEST_F(UnitsSettings, LenientParserReadsLabelSignNumberAndUnitThroughEveryDoor) {
    ASSERT_EQ(allocUnits(L""), 1);  // no file: every setting 0
    const struct {
        const char* text;
        int defaultUnit;
        double meters;
        int stop;
    } rows[] = {
        {"", 0, 0.0, 0},           {"   ", 0, 0.0, 3},         {"N 100 m", 0, 100.0, 7},
        {"2nm", 0, 3704.0, 3},     {"3 yd", 0, 3 * 0.9144, 4}, {"1 KM", 3, 1000.0, 4},
        {"12.5 ft", 1, 12.5 * 0.3048, 7},  {"12.5 ft", 0, 12.5 * kUsFoot, 7},
        {"12.5 FT", 3, 12.5 * kUsFoot, 7}, {"5 mi", 0, 5.0, 2},  {"5 meters", 3, 5000.0, 2},
        {"-7", 3, -7000.0, 2},     {"W 5", 0, 0.0, 0},         {"-N5", 0, 0.0, 1},
        {"1234567890123", 0, 123456789012.0, 12},              {"1e3", 0, 1.0, 1},
        {"100", -5, 100.0, 3},     {"1.2.3", 0, 1.2, 5},       {"+ 4 k", 0, 4.0, 4},
        {"x\t-.5 M rest", 0, -0.5, 7},                         {"s 2 nm", 4, 3704.0, 6},
        {"E", 0, 0.0, 1},          {".", 0, 0.0, 1},           {"7 y", 1, 7 * 0.3048, 2}, {"\xC3\xA9 5", 0, 0.0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::wstring wide = quillon::to_wide(row.text);
        int stop = -1;
        EXPECT_DOUBLE_EQ(parseStrToUnit(wide.c_str(), &stop, row.defaultUnit), row.meters);
        EXPECT_EQ(stop, row.stop);
        const quillon::ParsedLength narrow = quillon::parse_length(row.text, row.defaultUnit);
        EXPECT_EQ(narrow.meters, quillon::parse_length(wide, row.defaultUnit).meters);
        EXPECT_DOUBLE_EQ(narrow.meters, row.meters);
        EXPECT_EQ(quillon::parse_length(wide, row.defaultUnit).stop, std::size_t(row.stop));
    }
    int stop = -1;
    EXPECT_EQ(parseStrToUnit(nullptr, &stop, 0), 0.0);
    EXPECT_EQ(parseStrToUnit(L"5", nullptr, 0), 5.0) << "a null stop pointer is tolerated";
}

TEST(Units, CheckedReaderAcceptsWholeLengthsAndSaysWhatItCannotRead) {
    const Errc none{};
    const std::string huge = "1" + std::string(400, '0');
    const struct {
        std::string text;
        int defaultUnit;
        double meters;
        Errc code;
        std::string message;  // "" when accepted
    } rows[] = {
        {"4000180.45123456", 0, 4000180.45123456, none, ""}, {"1e2 m", 3, 100.0, none, ""},
        {"12.5 usft", 1, 12.5 * kUsFoot, none, ""}, {"12.5 ft", 1, 12.5 * 0.3048, none, ""},
        {" N - 7 km\t", 0, -7000.0, none, ""}, {"+ 7 km", 0, 7000.0, none, ""}, {".5nm", 0, 926.0, none, ""},
        {"2", quillon::kKilometers, 2000.0, none, ""}, {"2", 9, 2.0, none, ""}, {huge + "e-395 m", 0, 1e5, none, ""},
        {"5 mi", 0, 0, Errc::parse_error, "cannot read 'mi' in '5 mi'"},
        {"10 m junk ", 0, 0, Errc::parse_error, "cannot read 'junk' in '10 m junk '"},
        {"10,5 m", 0, 0, Errc::parse_error, "cannot read ',5 m' in '10,5 m'"},
        {"1e", 0, 0, Errc::parse_error, "cannot read 'e' in '1e'"},
        {"W 5", 0, 0, Errc::parse_error, "no number in 'W 5'"},
        {"inf", 0, 0, Errc::parse_error, "no number in 'inf'"},
        {"1e400", 0, 0, Errc::not_finite, "number too large in '1e400'"},
        {"1e308 nm", 0, 0, Errc::not_finite, "number too large in '1e308 nm'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const quillon::Result<double> read = quillon::read_length(row.text, row.defaultUnit);
        EXPECT_DOUBLE_EQ(read.value_or(0.0), row.meters);  // refused rows hold 0
        EXPECT_EQ(read.ok() ? none : read.error().code, row.code);
        EXPECT_EQ(read.ok() ? "" : read.error().message, row.message);
    }
}

// The process-wide distance unit through the flat writers and readers, the
// API writer in both widths, and out-of-contract units and decimals.
TEST_F(UnitsSettings, DistancesAreWrittenInTheirUnitThroughEveryDoor) {
    ASSERT_EQ(allocUnits(L""), 1);  // no file: every setting 0
    constexpr int own = -99;
    const struct {
        int unit;
        double meters;
        int decimals;  // own: the unit's own, through distToStr
        const char* text;
    } rows[] = {
        {0, 1234.5678, own, "1234.57m"}, {3, 1234.5678, own, "1.23457km"}, {1, 0.3048, own, "1.00ft"},
        {0, -0.001, own, "-0.00m"},      {4, 1852.0, own, "1.00000nm"},    {2, 1200.0 / 3937.0, own, "1.00ft"},
        {0, 1e21, own, "1000000000000000000000.00m"},
        {0, 0.5, 0, "0m"},  {0, 2.5, 0, "2m"},  // ties to even, as printf
        {2, 12.0, 3, "39.370ft"}, {0, 1.0, 40, "1.000000000m"}, {0, 1.0, -3, "1m"},
        {7, 12.0, 2, "12.00m"},  {-2147483647 - 1, 12.0, 2, "12.00m"},  // unit indices out of the table
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        wchar_t out[64];
        if (row.decimals == own) {
            getUnits()->distUnits = row.unit;
            EXPECT_EQ(distToStr(out, row.meters), int(std::strlen(row.text)));
        } else {
            getUnits()->toStr(out, row.meters, row.unit, row.decimals, 12345);
        }
        EXPECT_EQ(std::wstring(out), widen(row.text));
    }
    getUnits()->distUnits = 1;
    EXPECT_DOUBLE_EQ(parseStrToDist(L"100"), 30.48);
    EXPECT_EQ(parseStrToDist(L"100 m"), 100.0);
    getUnits()->distUnits = 3;
    EXPECT_EQ(metersToDist(), 0.001);
    EXPECT_EQ(distToMeters(), 1000.0);
    getUnits()->wpUnits = 4;
    wchar_t out[64];
    wpDistToStr(out, 1852.0, 9);
    EXPECT_STREQ(out, L"1.000000000nm");

    // Hosts may change the rows of the process-wide table: the flat
    // functions follow them; the API's own functions do not.
    Unit& row = getUnits()->unitTable[quillon::kFeet];
    row.toMeters = 2.0;
    row.decimals = 1;
    std::wcscpy(row.abbrev, L"ell");
    getUnits()->distUnits = quillon::kFeet;
    EXPECT_EQ(distToStr(out, 5.0), 6);
    EXPECT_STREQ(out, L"2.5ell");
    EXPECT_EQ(parseStrToDist(L"3"), 6.0);
    int stop = 0;
    EXPECT_EQ(parseStrToUnit(L"3 ft", &stop, quillon::kFeet), 3 * 0.3048);
    // Without the process-wide object the default unit is meters throughout.
    deAllocUnits(L"");
    EXPECT_EQ(parseStrToUnit(L"3 ft", &stop, quillon::kFeet), 3 * kUsFoot);
    EXPECT_EQ(parseStrToDist(L"3"), 3.0);
    EXPECT_EQ(distToStr(out, 3.0), 5);
    EXPECT_STREQ(out, L"3.00m");
    EXPECT_EQ(defaultEntry() + getLatLonStyle(), 0);
}

// Both widths and both kinds of unit: the whole text and its zero, or
// nothing when the zero does not fit.
TEST(Units, ApiWriterWritesAllOrNothing) {
    const std::string full = "-1.50km";
    for (std::size_t size : {full.size() + 1, full.size(), std::size_t(1)}) {
        SCOPED_TRACE(size);
        const std::string expected = size > full.size() ? full : "";
        char narrow[16] = "untouched";
        wchar_t wide[16] = L"untouched";
        EXPECT_EQ(quillon::write_length(narrow, size, -1500.0, quillon::kKilometers, 2), expected.size());
        EXPECT_EQ(narrow, expected);
        EXPECT_EQ(quillon::write_length(wide, size, -1500.0, quillon::kKilometers, 2), expected.size());
        EXPECT_EQ(quillon::to_utf8(wide), expected);
        EXPECT_EQ(quillon::write_length(wide, size, -1500.0, 1000.0, L"km", 2), expected.size());
        EXPECT_EQ(quillon::to_utf8(wide), expected);
    }
    char untouched[] = "x";
    EXPECT_EQ(quillon::write_length(untouched, 0, 1.0, quillon::kMeters, 2), 0u);
    EXPECT_STREQ(untouched, "x");
}

// The seven settings in the order they are saved.
int Units::*const kSettings[] = {&Units::distUnits, &Units::wpUnits, &Units::latLonStyle, &Units::defaultLatHemi,
                                 &Units::defaultLonHemi, &Units::defaultEntry, &Units::defaultDistCalc};

std::vector<int> settingsOf(const Units* units) {
    std::vector<int> out;
    for (auto field : kSettings) out.push_back(units->*field);
    return out;
}

TEST_F(UnitsSettings, FlatSettingsAreSavedInOrderKeepingTheHostsTextAndReadLeniently) {
    const Units fresh;
    EXPECT_EQ(settingsOf(&fresh), std::vector<int>(7, 0));
    ASSERT_EQ(allocUnits(path("missing.ini").c_str()), 1);
    EXPECT_EQ(getUnits()->distUnits + getUnits()->wpUnits + getLatLonStyle() + defaultEntry() + geoOrGrid(), 0);
    Units* units = getUnits();
    const std::vector<int> saved = {3, 4, 1, -1, 1, 2, 5};
    for (std::size_t i = 0; i < saved.size(); ++i) units->*kSettings[i] = saved[i];
    deAllocUnits(path().c_str());
    EXPECT_EQ(getUnits(), nullptr);
    EXPECT_EQ(readBytes(file()),
              "[units]\r\ndistUnits=3\r\nwpUnits=4\r\nlatLonStyle=1\r\ndefaultLatHemi=-1\r\n"
              "defaultLonHemi=1\r\ndefaultEntry=2\r\ndefaultDistCalc=5\r\n");
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    units = getUnits();
    EXPECT_EQ(settingsOf(units), saved);
    EXPECT_EQ(getLatLonStyle() * 10 + geoOrGrid(), 12);
    units->distUnits = 0;
    loadUnits(path().c_str());
    EXPECT_EQ(getUnits()->distUnits, 3) << "load discards changes in favour of the file";

    const std::string host =
        "; host settings\r\n[window]\r\nleft = 10\r\n\r\n[Units]\r\n  DistUnits = 1 ; feet\r\nother=x\r\n"
        "\r\n[last]\r\nk=v";
    writeBytes(file("host.ini"), host);
    ASSERT_EQ(allocUnits(path("host.ini").c_str()), 1);
    EXPECT_EQ(readBytes(file()).substr(0, 20), "[units]\r\ndistUnits=3") << "the replaced object is not saved";
    EXPECT_EQ(getUnits()->distUnits, 1) << "names are case-insensitive; leading digits are read";
    getUnits()->distUnits = 4;
    saveUnits(path("host.ini").c_str());
#if defined(_WIN32)
    // The Windows function rewrites the file in its own layout (Wine drops
    // blank lines and the blanks around "="); what it keeps is every entry.
    ASSERT_EQ(allocUnits(path("host.ini").c_str()), 1);
    EXPECT_EQ(getUnits()->distUnits, 4);
    EXPECT_NE(readBytes(file("host.ini")).find("other=x"), std::string::npos);
#else
    EXPECT_EQ(readBytes(file("host.ini")),
              "; host settings\r\n[window]\r\nleft = 10\r\n\r\n[Units]\r\nDistUnits=4\r\nother=x\r\n"
              "wpUnits=0\r\nlatLonStyle=0\r\ndefaultLatHemi=0\r\ndefaultLonHemi=0\r\ndefaultEntry=0\r\n"
              "defaultDistCalc=0\r\n\r\n[last]\r\nk=v");
#endif

    writeBytes(file("absurd.ini"),
               "[units]\ndistUnits=99999999999999\nwpUnits=-3\nlatLonStyle=abc\ndefaultLatHemi=  12xyz\n"
               "defaultLonHemi=\ndefaultEntry=+7\ndefaultDistCalc=-2147483648\n");
    ASSERT_EQ(allocUnits(path("absurd.ini").c_str()), 1);
    // No digits or an empty value give 0; leading digits, a sign and INT_MIN are read.
    const std::vector<int> absurd = settingsOf(getUnits());
    EXPECT_EQ(std::vector<int>(absurd.begin() + 1, absurd.end()), (std::vector<int>{-3, 0, 12, 0, 7, -2147483647 - 1}));
    wchar_t out[64];
    wpDistToStr(out, 5.0, 1);
    EXPECT_STREQ(out, L"5.0m") << "whatever the file held, distances never leave the table";
    deAllocUnits(L"");

    // Without an instance the operations do nothing.
    loadUnits(path("none.ini").c_str());
    saveUnits(path("none.ini").c_str());
    deAllocUnits(path("none.ini").c_str());
    EXPECT_FALSE(std::filesystem::exists(file("none.ini")));
}

std::string utf16le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) bytes += {char(unit & 0xFF), char(unit >> 8)};
    return bytes;
}

TEST_F(UnitsSettings, ApiReadChecksEveryValueAndNamesFileLineAndKey) {
    std::filesystem::create_directory(file("folder.ini"));
    const struct {
        const char* name;
        std::string content;  // not written for "missing.ini" and "folder.ini"
        Errc code;
        std::string problem;  // after the file name; "" when the file reads
    } rows[] = {
        {"missing.ini", "", Errc::io_error, ": no such file"}, {"folder.ini", "", Errc::io_error, ": is not a file"},
        {"ft.ini", "[units]\ndistUnits=ft\n", Errc::parse_error, ":2: distUnits=ft is not a whole number"},
        {"seven.ini", "[units]\r\ndistUnits=7\r\n", Errc::out_of_range, ":2: distUnits=7 is not a unit (0..4)"},
        {"negative.ini", "[units]\nwpUnits=-1\n", Errc::out_of_range, ":2: wpUnits=-1 is not a unit (0..4)"},
        {"big.ini", "[units]\nlatLonStyle=2147483648\n", Errc::out_of_range, ":2: latLonStyle=2147483648 is out of range"},
        {"order.ini", "[units]\nwpUnits=9\ndistUnits=1x\n", Errc::parse_error, ":3: distUnits=1x is not a whole number"},
        {"utf16.ini", utf16le(u"[units]\r\nwpUnits=ft\U0001F4CF\r\n"), Errc::parse_error,
         ":2: wpUnits=ft\xF0\x9F\x93\x8F is not a whole number"},
        {"good.ini", "[Units]\nDISTUNITS = 3\nwpUnits=\"4\"\nlatLonStyle=+1\ndefaultLonHemi=\ndefaultDistCalc=-2147483648\n",
         {}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (!row.content.empty()) writeBytes(file(row.name), row.content);
        const quillon::Result<quillon::Units> read = quillon::Units::read(file(row.name));
        EXPECT_EQ(read.ok() ? Errc{} : read.error().code, row.code);
        const std::string message = row.problem.empty() ? "" : "settings file " + file(row.name) + row.problem;
        EXPECT_EQ(read.ok() ? "" : read.error().message, message);
    }
    const quillon::Units good = *quillon::Units::read(file("good.ini"));
    const int expected[] = {3, 4, 1, 0, 0, 0, -2147483647 - 1};  // names are case-insensitive, missing keys 0
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) EXPECT_EQ(*good.setting(i), expected[i]) << i;
    EXPECT_TRUE(good.setting(quillon::Units::kCount) == nullptr && quillon::Units().setting(7) == nullptr);
}

// A name beyond ASCII proves that each path form reaches the same file; a
// save that cannot write says which key and leaves the file as it was.
TEST_F(UnitsSettings, ApiSaveAndLoadRoundTripThroughBothPathFormsOrReportTheKey) {
    quillon::Units units;
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) *units.setting(i) = int(i) - 3;
    units.dist_units = 4;
    const std::string narrow = file("r\xC3\xA9glages.ini");
    const std::wstring wide = quillon::to_wide(narrow);
    auto same = [&units](const quillon::Units& other) {
        for (std::size_t i = 0; i < quillon::Units::kCount; ++i)
            if (*other.setting(i) != *units.setting(i)) return false;
        return true;
    };
    ASSERT_TRUE(units.save(narrow).ok());
    EXPECT_TRUE(same(quillon::Units::load(wide)));
    units.wp_units = 2;
    ASSERT_TRUE(units.save(wide).ok());
    EXPECT_TRUE(same(quillon::Units::load(narrow)));
    EXPECT_TRUE(same(*quillon::Units::read(narrow)));

    const std::string folderless = file("no-such-folder/settings.ini");
    const quillon::Status missing = units.save(folderless);
    EXPECT_EQ(missing.ok() ? Errc{} : missing.error().code, Errc::io_error);
    EXPECT_EQ(missing.ok() ? "" : missing.error().message, "settings file " + folderless + ": cannot write distUnits");
#if defined(_WIN32)
    GTEST_SKIP() << "read-only files are not enforced for root under Wine";
#endif
    const std::string original = "[units]\ndistUnits=1\n";
    writeBytes(file("ro.ini"), original);
    std::filesystem::permissions(file("ro.ini"), std::filesystem::perms::owner_read);
    EXPECT_FALSE(units.save(quillon::to_wide(file("ro.ini"))).ok());
    ASSERT_EQ(allocUnits(path("ro.ini").c_str()), 1);
    getUnits()->distUnits = 3;
    deAllocUnits(path("ro.ini").c_str());  // silently
    EXPECT_EQ(readBytes(file("ro.ini")), original);
}

}  // namespace
