// Typed angles: the grammar (leading or trailing sign and hemisphere
// letters, one to three numbers), stop positions, hostile text, and round
// trips through the angle texts.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "quillon/angles.h"

namespace {

struct ParseCase {
    const wchar_t* text;
    double angle;
    int stop;
};

void expectParses(const ParseCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const ParseCase& c = cases[i];
        int stop = -1;
        const double angle = parseStrToAng(c.text, &stop);
        EXPECT_DOUBLE_EQ(angle, c.angle) << "parseStrToAng(" << testing::PrintToString(c.text) << ")";
        EXPECT_EQ(stop, c.stop) << "stop of parseStrToAng(" << testing::PrintToString(c.text) << ")";
        EXPECT_DOUBLE_EQ(strToAng(c.text), c.angle) << "strToAng(" << testing::PrintToString(c.text) << ")";
    }
}

TEST(AngleParser, SignsAndHemisphereLettersBeforeOrAfter) {
    const ParseCase cases[] = {
        {L"45 30 00 N", 45.5, 10}, {L"45 30 00 S", -45.5, 10}, {L"S 45 30", -45.5, 7},
        {L"-45 30", -45.5, 6},     {L"n 45 30", 45.5, 7},      {L"w10", -10.0, 3},
        {L"e10", 10.0, 3},         {L"+45", 45.0, 3},          {L"N45.5", 45.5, 5},
        {L"E 7", 7.0, 3},          {L"10s", -10.0, 3},         {L"10 W", -10.0, 4},
        // A trailing letter is not taken after a leading sign.
        {L"S45 30 W", -45.5, 7},   {L"-5 N", -5.0, 3},
    };
    expectParses(cases, std::size(cases));
}

TEST(AngleParser, OneTwoOrThreeNumbersSeparatedByWhiteSpace) {
    const ParseCase cases[] = {
        {L"45 .5", 45.0 + 0.5 / 60, 5},
        {L"0 30", 0.5, 4},
        {L"45\t30", 45.5, 5},
        {L"7", 7.0, 1},
        {L"  7", 7.0, 3},
        {L"7 ", 7.0, 2},
        {L"07", 7.0, 2},
        {L"10 75", 11.25, 5},  // minutes of 60 or more are added in
        {L"1 0 90", 1.025, 6},
        {L"12.5.3", 12.5, 6},  // the whole run is consumed
        {L"45 30 15.5 W rest", -(45 + 30 / 60.0 + 15.5 / 3600), 12},
        {L"45 30 00 x", 45.5, 9},
        {L"45 30 x", 45.5, 6},
        {L"1 2 3 4", 1 + 2 / 60.0 + 3 / 3600.0, 6},  // the fourth number is left
        {L"\r\n\v\f 9\n", 9.0, 7},
    };
    expectParses(cases, std::size(cases));
}

TEST(AngleParser, OtherCharactersEndTheNumbers) {
    const ParseCase cases[] = {
        {L"45-30", -45.0, 3},  // "-" ends the degrees and is the trailing sign
        {L"45:30:00", 45.0, 2},
        {L"45\u00b030'", 45.0, 2},  // a degree mark
        {L"12,5", 12.0, 2},
        {L"45 30\u00a0N", 45.5, 5},  // a no-break space is not white space
        {L"45\x01 30", 45.0, 2},
    };
    expectParses(cases, std::size(cases));
}

TEST(AngleParser, UnreadableTextGivesZeroAndSaysWhereItStopped) {
    const ParseCase cases[] = {
        {L"", 0.0, 0},    {L"   ", 0.0, 3}, {L"N", 0.0, 1},  {L"-", 0.0, 1},  {L".5", 0.0, 0},
        {L" - x", 0.0, 3}, {L"x45", 0.0, 0}, {L"\u4e2d45", 0.0, 0}, {L"\x01" L"45", 0.0, 0},
        {L"--5", 0.0, 1},
    };
    expectParses(cases, std::size(cases));
}

TEST(AngleParser, NumberRunsEndAfterTwelveCharacters) {
    const ParseCase cases[] = {
        {L"1234567890123", 123456789012.0 + 3 / 60.0, 13},
        {L"000000000045", 45.0, 12},
        {L"0000000000450", 45.0, 13},  // the 13th character is 0 minutes
        {L"12345678901234567890", 123456789012.0 + 34567890 / 60.0, 20},
    };
    expectParses(cases, std::size(cases));
}

TEST(AngleParser, LongDigitRunsStopCleanly) {
    const std::wstring digits(100000, L'9');
    int stop = -1;
    const double angle = parseStrToAng(digits.c_str(), &stop);
    EXPECT_EQ(stop, 36) << "three runs of 12 digits are read";
    EXPECT_DOUBLE_EQ(angle, 999999999999.0 + 999999999999.0 / 60 + 999999999999.0 / 3600);
}

// Parsing the text of an angle gives it back within half a unit of the last
// printed decimal (seconds in DMS, minutes in DM).
TEST(AngleParser, ReadsBackAngleTextsWithinHalfTheLastDecimal) {
    std::mt19937_64 rng(77);
    std::uniform_real_distribution<double> angles(-359.0, 359.0);
    wchar_t text[32];
    for (int i = 0; i < 100000; ++i) {
        const double a = angles(rng);
        const int decimals = i % 7;
        const int style = (i / 7) % 2;
        angToStr(text, a, decimals, style);
        const double unit = std::pow(10.0, -decimals) / (style == 0 ? 3600.0 : 60.0);
        const double back = strToAng(text);
        ASSERT_LE(std::fabs(back - a), 0.5 * unit * (1 + 1e-9) + 1e-12)
            << "angle " << a << " at " << decimals << " decimals, style " << style << ": text \""
            << testing::PrintToString(std::wstring(text)) << "\" reads " << back;
    }
}

}  // namespace
