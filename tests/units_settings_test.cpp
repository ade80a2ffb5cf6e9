// The unit table, the process-wide settings and their settings file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>

#include "quillon/units.h"
#include "test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::widen;
using testing_support::writeBytes;

namespace {

// Every test starts and ends without a process-wide instance.
class UnitsSettings : public ::testing::Test {
protected:
    void SetUp() override { deAllocUnits(L""); }
    void TearDown() override { deAllocUnits(L""); }
    std::wstring path(const std::string& name = "settings.ini") { return widen(dir_.file(name)); }
    std::string file(const std::string& name = "settings.ini") { return dir_.file(name); }
    TempDir dir_;
};

std::uint64_t bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

TEST(UnitTable, ConstructorFillsFiveUnitsAndFiveBlankRows) {
    struct Row {
        const wchar_t* name;
        const wchar_t* abbrev;
        double toMeters;
        int decimals;
    };
    const Row expected[10] = {
        {L"meters", L"m", 1.0, 2},          {L"feet", L"ft", 0.3048, 2},
        {L"US survey feet", L"ft", 0.30480060960121924, 2}, {L"kilometers", L"km", 1000.0, 5},
        {L"nautical miles", L"nm", 1852.0, 5}, {L"", L"", 0.0, 2}, {L"", L"", 0.0, 2},
        {L"", L"", 0.0, 2}, {L"", L"", 0.0, 2}, {L"", L"", 0.0, 2},
    };
    Units units;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_STREQ(units.unitTable[i].name, expected[i].name);
        EXPECT_STREQ(units.unitTable[i].abbrev, expected[i].abbrev);
        EXPECT_EQ(units.unitTable[i].toMeters, expected[i].toMeters);
        EXPECT_EQ(units.unitTable[i].decimals, expected[i].decimals);
    }
    EXPECT_EQ(bitsOf(units.unitTable[2].toMeters), 0x3FD381DA6A82703CULL);
    EXPECT_EQ(units.distUnits | units.wpUnits | units.latLonStyle | units.defaultLatHemi | units.defaultLonHemi |
                  units.defaultEntry | units.defaultDistCalc,
              0);
}

TEST(UnitTable, DefaultUnitIsBlankWithTwoDecimals) {
    Unit unit;
    EXPECT_STREQ(unit.name, L"");
    EXPECT_STREQ(unit.abbrev, L"");
    EXPECT_EQ(unit.toMeters, 0.0);
    EXPECT_EQ(unit.decimals, 2);
}

TEST(UnitTable, AssignmentCopiesTableAndEverySetting) {
    Units source;
    source.unitTable[7].toMeters = 42.0;
    std::wcscpy(source.unitTable[7].name, L"custom");
    source.distUnits = 3;
    source.wpUnits = 4;
    source.latLonStyle = 1;
    source.defaultLatHemi = -1;
    source.defaultLonHemi = 7;
    source.defaultEntry = 2;
    source.defaultDistCalc = 9;
    Units copied;
    copied = source;
    Units moved;
    moved = std::move(source);
    for (const Units* u : {&copied, &moved}) {
        EXPECT_EQ(u->unitTable[7].toMeters, 42.0);
        EXPECT_STREQ(u->unitTable[7].name, L"custom");
        EXPECT_EQ(u->distUnits, 3);
        EXPECT_EQ(u->wpUnits, 4);
        EXPECT_EQ(u->latLonStyle, 1);
        EXPECT_EQ(u->defaultLatHemi, -1);
        EXPECT_EQ(u->defaultLonHemi, 7);
        EXPECT_EQ(u->defaultEntry, 2);
        EXPECT_EQ(u->defaultDistCalc, 9);
    }
    EXPECT_EQ(source.distUnits, 3) << "a move leaves its source as it was";
}

TEST(UnitTable, ToStrWritesValueAndAbbreviation) {
    struct Case {
        double meters;
        int unit;
        int decimals;
        const wchar_t* text;
    };
    const Case cases[] = {
        {1000.0, 3, 2, L"1.00km"},  {0.3048, 1, 1, L"1.0ft"},   {1852.0, 4, 0, L"1nm"},
        {-2.5, 0, 2, L"-2.50m"},    {1.0, 0, 9, L"1.000000000m"}, {0.5, 0, 0, L"0m"},  // ties to even as printf
        {2.5, 0, 0, L"2m"},         {12.0, 2, 3, L"39.370ft"},
    };
    Units units;
    for (const Case& c : cases) {
        wchar_t out[64];
        units.toStr(out, c.meters, c.unit, c.decimals, 12345);
        EXPECT_STREQ(out, c.text) << c.meters << " m in unit " << c.unit << " with " << c.decimals;
    }
}

TEST(UnitTable, OutOfContractIndicesAndDecimalsAreMadeSafe) {
    Units units;
    wchar_t out[64];
    for (int unit : {-1, 5, 9, 10, 1000000, -2147483647 - 1}) {
        units.toStr(out, 12.0, unit, 2, 0);
        EXPECT_STREQ(out, L"12.00m") << "unit index " << unit << " counts as meters";
    }
    units.toStr(out, 1.0, 0, -3, 0);
    EXPECT_STREQ(out, L"1m") << "negative decimals count as 0";
    units.toStr(out, 1.0, 0, 40, 0);
    EXPECT_STREQ(out, L"1.000000000m") << "more than 9 decimals count as 9";
}

TEST_F(UnitsSettings, MissingFileGivesAllSettingsZero) {
    ASSERT_EQ(allocUnits(path("missing.ini").c_str()), 1);
    Units* units = getUnits();
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->distUnits, 0);
    EXPECT_EQ(units->wpUnits, 0);
    EXPECT_EQ(getLatLonStyle(), 0);
    EXPECT_EQ(defaultEntry(), 0);
    EXPECT_EQ(geoOrGrid(), 0);
}

TEST_F(UnitsSettings, DeAllocWritesSevenKeysInOrderAndAllocRestoresThem) {
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    Units* units = getUnits();
    units->distUnits = 3;
    units->wpUnits = 4;
    units->latLonStyle = 1;
    units->defaultLatHemi = -1;
    units->defaultLonHemi = 1;
    units->defaultEntry = 2;
    units->defaultDistCalc = 5;
    deAllocUnits(path().c_str());
    EXPECT_EQ(getUnits(), nullptr);
    EXPECT_EQ(readBytes(file()),
              "[units]\r\ndistUnits=3\r\nwpUnits=4\r\nlatLonStyle=1\r\ndefaultLatHemi=-1\r\n"
              "defaultLonHemi=1\r\ndefaultEntry=2\r\ndefaultDistCalc=5\r\n");

    ASSERT_EQ(allocUnits(path().c_str()), 1);
    units = getUnits();
    EXPECT_EQ(units->distUnits, 3);
    EXPECT_EQ(units->wpUnits, 4);
    EXPECT_EQ(getLatLonStyle(), 1);
    EXPECT_EQ(units->defaultLatHemi, -1);
    EXPECT_EQ(units->defaultLonHemi, 1);
    EXPECT_EQ(geoOrGrid(), 2);
    EXPECT_EQ(units->defaultDistCalc, 5);
}

TEST_F(UnitsSettings, SavingKeepsEverythingElseTheHostWrote) {
    const std::string host =
        "; host settings\r\n[window]\r\nleft = 10\r\n\r\n[Units]\r\n  DistUnits = 1 ; feet\r\nother=x\r\n"
        "\r\n[last]\r\nk=v";
    writeBytes(file(), host);
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    EXPECT_EQ(getUnits()->distUnits, 1) << "names are case-insensitive; leading digits are read";
    getUnits()->distUnits = 4;
    saveUnits(path().c_str());
#if defined(_WIN32)
    // The Windows function rewrites the file in its own layout (Wine drops
    // blank lines and the blanks around "="); what it keeps is every entry.
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    EXPECT_EQ(getUnits()->distUnits, 4);
    EXPECT_NE(readBytes(file()).find("; host settings"), std::string::npos);
    EXPECT_NE(readBytes(file()).find("other=x"), std::string::npos);
    EXPECT_NE(readBytes(file()).find("k=v"), std::string::npos);
#else
    EXPECT_EQ(readBytes(file()),
              "; host settings\r\n[window]\r\nleft = 10\r\n\r\n[Units]\r\nDistUnits=4\r\nother=x\r\n"
              "wpUnits=0\r\nlatLonStyle=0\r\ndefaultLatHemi=0\r\ndefaultLonHemi=0\r\ndefaultEntry=0\r\n"
              "defaultDistCalc=0\r\n\r\n[last]\r\nk=v");
#endif
}

TEST_F(UnitsSettings, AbsurdValuesReadAsTheWindowsFunctionReadsThem) {
    writeBytes(file(),
               "[units]\ndistUnits=99999999999999\nwpUnits=-3\nlatLonStyle=abc\ndefaultLatHemi=  12xyz\n"
               "defaultLonHemi=\ndefaultEntry=+7\ndefaultDistCalc=-2147483648\n");
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    Units* units = getUnits();
    EXPECT_EQ(units->wpUnits, -3);
    EXPECT_EQ(units->latLonStyle, 0) << "no digits: 0";
    EXPECT_EQ(units->defaultLatHemi, 12);
    EXPECT_EQ(units->defaultLonHemi, 0) << "empty value: the default";
    EXPECT_EQ(units->defaultEntry, 7);
    EXPECT_EQ(units->defaultDistCalc, -2147483647 - 1);
    // Whatever the file held, distances never leave the table.
    wchar_t out[64];
    distToStr(out, 5.0);
    wpDistToStr(out, 5.0, 1);
    EXPECT_STREQ(out, L"5.0m");
}

TEST_F(UnitsSettings, LoadDiscardsChangesInFavourOfTheFile) {
    writeBytes(file(), "[units]\ndistUnits=2\n");
    ASSERT_EQ(allocUnits(path().c_str()), 1);
    getUnits()->distUnits = 4;
    loadUnits(path().c_str());
    EXPECT_EQ(getUnits()->distUnits, 2);
}

TEST_F(UnitsSettings, SecondAllocReplacesTheInstance) {
    writeBytes(file("a.ini"), "[units]\ndistUnits=1\n");
    writeBytes(file("b.ini"), "[units]\ndistUnits=3\n");
    ASSERT_EQ(allocUnits(path("a.ini").c_str()), 1);
    ASSERT_EQ(allocUnits(path("b.ini").c_str()), 1);
    EXPECT_EQ(getUnits()->distUnits, 3);
    EXPECT_EQ(readBytes(file("a.ini")), "[units]\ndistUnits=1\n") << "the replaced object is not saved";
}

TEST_F(UnitsSettings, WithoutInstanceOperationsDoNothing) {
    ASSERT_EQ(getUnits(), nullptr);
    loadUnits(path().c_str());
    saveUnits(path().c_str());
    deAllocUnits(path().c_str());
    EXPECT_EQ(readBytes(file()), "") << "nothing was written";
    EXPECT_EQ(defaultEntry(), 0);
    EXPECT_EQ(getLatLonStyle(), 0);
    wchar_t out[32];
    distToStr(out, 3.0);
    EXPECT_STREQ(out, L"3.00m") << "without settings distances are meters";
}

TEST_F(UnitsSettings, UnwritableSettingsFileIsLeftIntactAndSilent) {
#if defined(_WIN32)
    // Wine maps the read-only attribute to permission bits, which do not stop
    // a process running as root, as the test suite does here.
    GTEST_SKIP() << "read-only files are not enforced for root under Wine";
#endif
    const std::string original = "[units]\ndistUnits=1\n; keep me\n";
    writeBytes(file("ro.ini"), original);
    std::filesystem::permissions(file("ro.ini"), std::filesystem::perms::owner_read |
                                                     std::filesystem::perms::group_read |
                                                     std::filesystem::perms::others_read);
    ASSERT_EQ(allocUnits(path("ro.ini").c_str()), 1);
    getUnits()->distUnits = 3;
    deAllocUnits(path("ro.ini").c_str());
    EXPECT_EQ(readBytes(file("ro.ini")), original);
}

}  // namespace
