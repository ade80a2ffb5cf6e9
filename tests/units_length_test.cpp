// Typed lengths and distances in the user's units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <random>
#include <string>

#include "quillon/units.h"

namespace {

class Lengths : public ::testing::Test {
protected:
    void SetUp() override {
        deAllocUnits(L"");
        ASSERT_EQ(allocUnits(L""), 1);  // no file: every setting 0
    }
    void TearDown() override { deAllocUnits(L""); }
};

constexpr double kUsFoot = 0.30480060960121924;

struct ParseCase {
    const wchar_t* text;
    int defaultUnit;
    double meters;
    int stop;
};

TEST_F(Lengths, ParserReadsLabelSignNumberAndUnit) {
    const ParseCase cases[] = {
        {L"", 0, 0.0, 0},
        {L"   ", 0, 0.0, 3},
        {L"N 100 m", 0, 100.0, 7},
        {L"2nm", 0, 3704.0, 3},
        {L"3 yd", 0, 3 * 0.9144, 4},
        {L"1 km", 0, 1000.0, 4},
        {L"1 KM", 3, 1000.0, 4},
        {L"12.5 ft", 1, 12.5 * 0.3048, 7},
        {L"12.5 ft", 0, 12.5 * kUsFoot, 7},
        {L"12.5 ft", 2, 12.5 * kUsFoot, 7},
        {L"12.5 FT", 3, 12.5 * kUsFoot, 7},
        {L"5 mi", 0, 5.0, 2},
        {L"5 meters", 3, 5000.0, 2},
        {L"-7", 3, -7000.0, 2},
        {L"W 5", 0, 0.0, 0},
        {L"-N5", 0, 0.0, 1},
        {L"1234567890123", 0, 123456789012.0, 12},
        {L"1e3", 0, 1.0, 1},
        {L"100", -5, 100.0, 3},
        {L"1.2.3", 0, 1.2, 5},
        {L"+ 4 k", 0, 4.0, 4},
        {L"x\t-.5 M rest", 0, -0.5, 7},
        {L"s 2 nm", 4, 3704.0, 6},
        {L"E", 0, 0.0, 1},
        {L".", 0, 0.0, 1},
        {L"7 y", 1, 7 * 0.3048, 2},
        {L"\x00e9 5", 0, 0.0, 0},
        {L"5\x0100m", 0, 5.0, 1},
    };
    for (const ParseCase& c : cases) {
        int stop = -1;
        double meters = parseStrToUnit(c.text, &stop, c.defaultUnit);
        const std::string input = ::testing::PrintToString(std::wstring(c.text));
        EXPECT_DOUBLE_EQ(meters, c.meters) << input << " with default unit " << c.defaultUnit;
        EXPECT_EQ(stop, c.stop) << "stop index of " << input;
    }
}

TEST_F(Lengths, DefaultUnitFactorFollowsTheProcessSettings) {
    getUnits()->distUnits = 1;
    EXPECT_DOUBLE_EQ(parseStrToDist(L"100"), 30.48);
    EXPECT_EQ(parseStrToDist(L"100 m"), 100.0);
    EXPECT_EQ(parseStrToDist(L""), 0.0);
    getUnits()->distUnits = 7;  // a blank row: counts as meters
    EXPECT_EQ(parseStrToDist(L"100"), 100.0);
    Units other;
    EXPECT_EQ(other.fromStr(L"2", 3), 2000.0);
}

TEST_F(Lengths, LongAndStrangeTextsStopInsideTheText) {
    std::wstring digits(100000, L'9');
    int stop = -1;
    parseStrToUnit(digits.c_str(), &stop, 0);
    EXPECT_EQ(stop, 12);
    std::wstring blanks(100000, L' ');
    parseStrToUnit(blanks.c_str(), &stop, 0);
    EXPECT_EQ(stop, 100000);
    const wchar_t controls[] = {L'\x01', L'5', L'\x7f', 0};
    EXPECT_EQ(parseStrToUnit(controls, &stop, 0), 0.0);
    EXPECT_EQ(stop, 0);
    EXPECT_EQ(parseStrToUnit(nullptr, &stop, 0), 0.0);
    EXPECT_EQ(parseStrToUnit(L"5", nullptr, 0), 5.0) << "a null stop pointer is tolerated";
}

struct DistCase {
    int unit;
    double meters;
    const wchar_t* text;
};

TEST_F(Lengths, DistancesAreWrittenInTheDistanceUnit) {
    const DistCase cases[] = {
        {0, 1234.5678, L"1234.57m"}, {3, 1234.5678, L"1.23457km"}, {1, 0.3048, L"1.00ft"},
        {0, -2.5, L"-2.50m"},        {4, 1852.0, L"1.00000nm"},   {2, 1200.0 / 3937.0, L"1.00ft"},
        {0, -0.001, L"-0.00m"},      {0, 1e21, L"1000000000000000000000.00m"},
    };
    for (const DistCase& c : cases) {
        getUnits()->distUnits = c.unit;
        wchar_t out[64];
        int n = distToStr(out, c.meters);
        EXPECT_STREQ(out, c.text) << c.meters << " m in unit " << c.unit;
        EXPECT_EQ(n, static_cast<int>(std::wcslen(c.text)));
    }
    getUnits()->distUnits = 3;
    EXPECT_EQ(metersToDist(), 0.001);
    EXPECT_EQ(distToMeters(), 1000.0);
    getUnits()->distUnits = 0;
    EXPECT_EQ(metersToDist(), 1.0);
    EXPECT_EQ(distToMeters(), 1.0);
}

TEST_F(Lengths, WaypointDistancesUseTheirOwnUnitAndDecimals) {
    getUnits()->wpUnits = 4;
    getUnits()->distUnits = 1;
    wchar_t out[64];
    wpDistToStr(out, 1852.0, 1);
    EXPECT_STREQ(out, L"1.0nm");
    wpDistToStr(out, 1852.0, 0);
    EXPECT_STREQ(out, L"1nm");
    wpDistToStr(out, 1852.0, 9);
    EXPECT_STREQ(out, L"1.000000000nm");
}

// The direct formatter writes what "%.Nlf%s" writes, over random values at
// every decimal count and every unit.
TEST_F(Lengths, DistanceTextEqualsPrintfOfTheSameTemplate) {
    std::mt19937_64 random(20261205);
    std::uniform_real_distribution<double> exponent(-8.0, 12.0);
    Units* units = getUnits();
    for (int i = 0; i < 200000; ++i) {
        double meters = std::pow(10.0, exponent(random)) * ((random() & 1) ? -1.0 : 1.0);
        if (i % 7 == 0) meters = std::round(meters * 1000.0) / 1000.0 + 0.0005;  // ties near printing
        int unit = static_cast<int>(random() % 5);
        int decimals = static_cast<int>(random() % 10);
        const Unit& row = units->unitTable[unit];
        wchar_t expected[400];
        wchar_t format[] = L"%.1lf%ls";
        format[2] = static_cast<wchar_t>(L'0' + decimals);
        std::swprintf(expected, 400, format, meters / row.toMeters, row.abbrev);
        wchar_t actual[400];
        units->toStr(actual, meters, unit, decimals, 0);
        ASSERT_STREQ(actual, expected) << meters << " m, unit " << unit << ", " << decimals << " decimals";
    }
}

}  // namespace
