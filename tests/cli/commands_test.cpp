// End-to-end tests of the tool's frame and of every command but track.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <tuple>
#include <vector>

#include "tool_runner.h"

namespace {

const char* const kCommands[] = {"track",  "units",  "dist", "angle",  "time",   "ecef",
                                 "geodetic", "median", "fit", "invert", "random", "solve"};

std::vector<double> numbersIn(const std::string& text) {
    std::vector<double> values;
    std::istringstream in(text);
    double v;
    while (in >> v) values.push_back(v);
    return values;
}

// Arguments, input, status, and the text expected in stdout (status 0) or stderr.
using Case = std::tuple<std::string, std::string, int, std::string>;

void expectCases(const ToolRunner& tool, const std::vector<Case>& cases) {
    for (const auto& [args, input, status, expected] : cases) {
        const ToolResult r = tool.run(args, input);
        EXPECT_EQ(r.status, status) << describe(args, r);
        EXPECT_NE((status == 0 ? r.out : r.err).find(expected), std::string::npos)
            << "expected '" << expected << "'\n" << describe(args, r);
    }
}

TEST(ToolFrame, HelpListsEveryCommandAndEachCommandHasItsOwn) {
    ToolRunner tool;
    const ToolResult help = tool.runOk("--help");
    for (const char* command : kCommands) {
        EXPECT_NE(help.out.find(std::string("  ") + command + " "), std::string::npos) << command;
        for (const std::string& form : {std::string(command) + " --help", "help " + std::string(command)}) {
            const ToolResult r = tool.runOk(form);
            EXPECT_EQ(r.out.find(std::string("usage: quillon ") + command), 0u) << describe(form, r);
        }
        const std::string bad = std::string(command) + " --no-such-option";
        const ToolResult r = tool.run(bad);
        EXPECT_EQ(r.status, 2) << describe(bad, r);
        EXPECT_NE(r.err.find("unknown option '--no-such-option'"), std::string::npos) << describe(bad, r);
    }
}

TEST(ToolFrame, CommandsAndOptionTablesCheckEveryKindOfValueAlike) {
    ToolRunner tool;
    expectCases(tool, {
        {"angle --csv --json 1", "", 2, "quillon angle: --csv and --json exclude each other"},
        {"invert --digits x", "", 2, "--digits takes a whole number 1..17, not 'x' (see"},
        {"random 1 --sigma=inf", "", 2, "--sigma takes a number, not 'inf'"},
        {"track --tolerance '10 mi' -", "", 2, "--tolerance takes a positive length, not '10 mi'"},
        {"track --tolerance '10 m junk' -", "", 2, "not '10 m junk'"},
        {"fit --json=yes 1 2", "", 2, "option '--json' takes no value"},
        {"median --column", "", 2, "option '--column' needs a value"},
        {"angle -x 1", "", 2, "unknown option '-x'"},
        {"dist -- -x", "", 1, "'-x': no number"},
        {"angle --decimals=x --decimals 1 12.5", "", 0, "  dm           12 30.0"},
        // A missing or unknown command is bad usage.
        {"", "", 2, "usage: quillon COMMAND"},
        {"frobnicate", "", 2, "unknown command 'frobnicate'"},
        {"--version", "", 0, "quillon "},
    });
}

TEST(UnitsCommand, SetWritesTheFileAndShowReadsItBack) {
    ToolRunner tool;
    expectCases(tool, {
        {"units", "", 0, "distUnits        0   meters (m)"},
        {"units set distUnits km", "", 0, "distUnits        3   kilometers (km)"},
        {"units set wpUnits 2", "", 0, "wpUnits          2   US survey feet (usft)"},
        {"units set latLonStyle dm", "", 0, "latLonStyle      1   degrees and decimal minutes"},
        {"units set defaultEntry -4", "", 0, "defaultEntry     -4"},
        {"units show", "", 0, "distUnits        3   kilometers (km)"},
        {"units set distUnits furlongs", "", 1, "'furlongs' is not a unit"},
        {"units set latLonStyle 7", "", 1, "latLonStyle takes dms (0) or dm (1)"},
        {"units set defaultEntry x", "", 1, "defaultEntry takes a whole number"},
        {"units set colour red", "", 2, "no setting named 'colour'"},
        {"units set distUnits", "", 2, "set needs KEY and VALUE"},
        {"units explode", "", 2, "unknown action 'explode'"},
        {"units --units none.ini show", "", 0, "none.ini  (no such file yet: the defaults;"},
        {"units --units no/such/folder.ini set distUnits 1", "", 1,
         "cannot write the settings file no/such/folder.ini"},
    });
    const std::string ini = testing_support::readBytes(tool.defaultSettings());
    for (const char* line : {"distUnits=3", "wpUnits=2", "latLonStyle=1", "defaultEntry=-4"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << " not in\n" << ini;
    // An explicit file is created by set and used by every command.
    expectCases(tool, {{"units --units mine.ini set distUnits ft", "", 0, "feet (ft)"},
                       {"dist --units mine.ini 10", "", 0, "10 = 3.048 m"},
                       {"units --json --units mine.ini", "", 0, "\"distUnits\":1,\"wpUnits\":0"}});
}

TEST(DistCommand, LengthsInEveryUnit) {
    ToolRunner tool;
    expectCases(tool, {
        {"dist '12.5 ft'", "", 0, "12.5 ft = 3.8100076200152406 m"},
        {"dist 1852", "", 0, "  nautical miles  1.00000nm"},
        {"dist 2nm", "", 0, "  kilometers      3.70400km"},
        {"dist 'N 100 m'", "", 0, "  feet            328.08ft"},
        {"dist -7km", "", 0, "  meters          -7000.00m"},
        {"dist --csv 1000", "", 0, "text,meters,m,ft,usft,km,nm\n1000,1000,1000.00m,3280.84ft,3280.83usft,1.00000km,0.53996nm\n"},
        {"dist --json 1", "", 0, "{\"text\":\"1\",\"meters\":1,\"m\":\"1.00m\""},
        {"dist abc", "", 1, "'abc': no number"},
        // The checked reader: usft read, a second point not.
        {"dist '10 usft'", "", 0, "10 usft = 3.0480060960121924 m"},
        {"dist '10 usft'", "", 0, "  US survey feet  10.00usft\n"},
        {"dist 1.7e308", "", 0, "  feet            -  (beyond the double range)"},
        {"dist 1.2.3", "", 1, "'1.2.3': cannot read '.3'\n"},
        {"dist", "", 2, "needs at least one length"},
    });
    ASSERT_EQ(tool.run("units set distUnits ft").status, 0);
    expectCases(tool, {{"dist 100", "", 0, "100 = 30.48 m"}});
}

TEST(AngleCommand, AnglesInEveryStyle) {
    ToolRunner tool;
    expectCases(tool, {
        {"angle '45 30 15.5 W'", "", 0, "45 30 15.5 W = -45.504305555555554 degrees"},
        {"angle '45 30 15.5 W'", "", 0, "  longitude  W045 30 15.500   W045 30.25833"},
        {"angle S45.5", "", 0, "  latitude   S45 30 00.000    S45 30.00000"},
        {"angle 12.5", "", 0, "  dms          12 30 00.000"},
        {"angle --csv w10", "", 0, "w10,-10,- 10  0 00.000,- 10 00.00000,S10 00 00.000"},
        {"angle --json 1", "", 0, "{\"text\":\"1\",\"degrees\":1,\"dms\":\"   1  0 00.000\""},
        {"angle --json 95", "", 0, "\"latDms\":null,\"latDm\":null,\"lonDms\":\"E095 00 00.000\""},
        {"angle 95", "", 0, "  latitude   -  (beyond 90 degrees)\n  longitude  E095 00 00.000"},
        {"angle 400", "", 0, "  dms        -  (360 degrees or more)"},
        // Typed as users copy them.
        {"angle \"45\xC2\xB0" "30'15\\\"\" 45:30:15 45d30m15s", "", 0, "45d30m15s = 45.50416666666667 degrees"},
        {"angle '91 0 0 N'", "", 1, "'91 0 0 N': a latitude beyond 90 degrees\n"},
        {"angle xyz", "", 1, "'xyz': no number"},
        // The checked reader: no minutes of 60 or more.
        {"angle '10 75'", "", 1, "'10 75': minutes '75' are not below 60\n"},
        {"angle --decimals 7 1", "", 2, "--decimals takes a whole number 0..6"},
    });
}

TEST(TimeCommand, OneInstantInEveryForm) {
    ToolRunner tool;
    const std::string all = "utc           2021-07-15 13:12:42.000\n"
                            "gps           2021-07-15 13:13:00.000  (GPS - UTC = 18 s)\n"
                            "unix time     1626354762\n"
                            "text          07-15-21 13:12:42.0\n"
                            "day of year   2021 196\n"
                            "julian day    2459411\n"
                            "julian date   2459411.05048611\n"
                            "mjd           59410.55048611\n"
                            "gps week      2166 393180\n";
    const char* const kForm = " (month-day-year [hh:mm[:ss]] in UTC, or ISO 8601)";
    expectCases(tool, {
        {"time --unix 1626354762", "", 0, all},
        {"time --dos 1626354762", "", 0, all},
        {"time --gps 2166 393180", "", 0, all},
        {"time --date 2021 7 15 13 12 42", "", 0, all},
        {"time --date 2021 7 15 13 12 42.5", "", 0, "unix time     1626354762.5\n"},
        {"time 07-15-21 13:12:42.0", "", 0, all},
        {"time '7/15/2021 13:12:42'", "", 0, all},
        {"time 2021-07-15T13:12:42Z", "", 0, all},
        {"time '2021-07-15 15:12:42+02:00'", "", 0, all},
        {"time --julian-date 2459411.05048611", "", 0, "julian date   2459411.05048611\n"},
        {"time --mjd 59410.5", "", 0, "utc           2021-07-15 12:00:00.000\n"},
        {"time --jd 2459411", "", 0, "utc           2021-07-15 00:00:00.000"},
        // GPS time runs 18 s ahead of UTC since 2017.
        {"time --gps 2166 393162", "", 0, "utc           2021-07-15 13:12:24.000\n"},
        {"time --gps 0 0", "", 0, "gps           1980-01-06 00:00:00.000  (GPS - UTC = 0 s)"},
        {"time --unix -1", "", 0, "utc           1969-12-31 23:59:59.000\ngps           -  (before"},
        {"time --unix -1", "", 0, "text          12-31-69 23:59:59.0\n"},
        {"time --date 1900 1 1", "", 0, "text          -  (its two-digit years are 1950..2049)"},
        {"time --json --unix 0", "", 0, "\"gps\":null,\"gpsMinusUtc\":0,\"text\":\"01-01-70 00:00:00.0\""},
        {"time 13-01-21", "", 1, std::string("'13-01-21': month 13 is not 1..12") + kForm},
        {"time '07-15-21 25:00'", "", 1, "'07-15-21 25:00': hour 25 is not 0..23"},
        {"time 02-30-21", "", 1, "'02-30-21': day 30 is not 1..28 in February 2021"},
        {"time --date 2021 2 30", "", 1, "--date: day 30 is not 1..28 in February 2021"},
        {"time '07-15-21 1:12 PM'", "", 1, "cannot read 'PM'"},
        {"time '07-15-21 13:12 +02:00'", "", 1, "cannot read '+02:00'"},
        {"time '07-15-21 13:12 EST'", "", 1, "cannot read 'EST'"},
        {"time 2021-07-15T25:00Z", "", 1, "hour 25 is not 0..23 (ISO 8601: 2021-07-15T13:12:42Z)"},
        {"time --unix 1e20", "", 1, "--unix gives a time outside the years 1 to 9999"},
        {"time --unix -62135769601", "", 1, "--unix gives a time outside the years 1 to 9999"},
        {"time --jd 1.5", "", 1, "a Julian day number is a whole number, not '1.5' (for a Julian date"},
        {"time --gps 2166 604800", "", 1, "GPS seconds of week are at least 0 and below 604800"},
        {"time --gps 2167", "", 2, "--gps needs 2 numbers"},
        {"time --gps 2167 x", "", 2, "'x' is not a number"},
        {"time --unix 1 --jd", "", 2, "give one of"},
    });
    const ToolResult now = tool.runOk("time --json");
    EXPECT_GT(std::atof(now.out.c_str() + 8), 1.7e9) << describe("time", now);
}

TEST(GeocentricCommands, PointsConvertBothWaysOneOrManyAtATime) {
    ToolRunner tool;
    expectCases(tool, {
        {"ecef 0 0 0", "", 0, "6378137.0000 0.0000 0.0000\n"},
        {"ecef 90 0", "", 0, "0.0000 0.0000 6356752.3142\n"},
        {"ecef --csv 0 90 10", "", 0, "x,y,z\n0.0000,6378147.0000,0.0000\n"},
        {"geodetic 6378137 0 0", "", 0, "0.0000000000 0.0000000000 0.0000\n"},
        {"geodetic --json 0 0 6356752.3142", "", 0, "{\"lat\":90,\"lon\":0,\"height\":-4.5"},
        {"ecef 91 0", "", 1, "'91': a latitude beyond 90 degrees"},
        {"ecef 45 x", "", 1, "'x': no number"},
        {"ecef '51 28 40.08 N' 0:0:5.4W 45.4", "", 0, "3980609.4862 -104.2121 4966860.0415\n"},
        {"ecef --precision 0 --id P1 0 0", "", 0, "P1 6378137 0 0\n"},
        {"ecef 51 28 40 N 0 0 5 W", "", 1, "(quote a typed angle with blanks: '51 28 40 N')"},
        {"geodetic 1e308 0 0", "", 1, "the point is too far from the earth to convert"},
        {"geodetic --style dm --csv 6378137 0 0", "", 0, "N00 00.000000,E000 00.000000,0.0000\n"},
        {"geodetic missing.txt", "", 1, "missing.txt: no such file"},
    });
    // Batch: one output line per input line, identifiers passed through,
    // there and back (JSON with every digit).
    const std::string points = "# lat lon h\nA 51.4778 -0.0015 45.4\n\nB, 45 52 39.36 S, 170.5001, 12\nC 0 180 -20\n";
    const ToolResult there = tool.runOk("ecef --id", points);
    EXPECT_EQ(there.out.substr(0, 14), "# lat lon h\nA ") << describe("ecef --id", there);
    ASSERT_EQ(lineCount(there.out), 5) << describe("ecef --id", there);
    const ToolResult back = tool.runOk("geodetic --id --json -", there.out);
    const auto expected = numbersIn("51.4778 -0.0015 45.4 -45.8776 170.5001 12 0 180 -20");
    std::vector<double> got;
    for (const char* key : {"\"lat\":", "\"lon\":", "\"height\":"})
        for (std::size_t at = back.out.find(key); at != std::string::npos; at = back.out.find(key, at + 1))
            got.push_back(std::atof(back.out.c_str() + at + std::strlen(key)));
    ASSERT_EQ(got.size(), expected.size()) << describe("geodetic -", back);
    for (std::size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], expected[i % 3 * 3 + i / 3], i < 6 ? 1e-8 : 1e-4) << "value " << i;
    // A bad line keeps its place with a placeholder and is named.
    const ToolResult bad = tool.run("ecef -", "0 0 0\n1 two 3\n0 90 0\n");
    EXPECT_EQ(bad.status, 1) << describe("ecef -", bad);
    EXPECT_EQ(bad.err, "quillon ecef: <stdin>:2: 'two': no number\n");
    EXPECT_EQ(bad.out, "6378137.0000 0.0000 0.0000\n- - -\n0.0000 6378137.0000 0.0000\n");
    EXPECT_EQ(tool.run("ecef --csv -", "x\n").out, "x,y,z\n,,\n");
}

TEST(StatisticsCommands, MedianAndRobustLineFit) {
    ToolRunner tool;
    testing_support::writeBytes(tool.file("line.txt"),
                                "# x y\n0 1\n1 3\n2 5\n3 7\n4 9\n5 11\n6 13\n");  // y = 1 + 2x
    expectCases(tool, {
        {"median", "3 1 2 10\n", 0, "2.5\n"},
        {"median", "0.1 0.2\n", 0, "0.15\n"},  // not 0.15000000000000002
        {"median", "1e308 1.7e308\n", 0, "1.35e+308\n"},
        {"median -", "5\n", 0, "5\n"},
        {"median --column 2 line.txt", "", 0, "7\n"},
        {"fit 1 2 line.txt", "", 0, "points    7\na         1\nb         2\nmean |d|  0\n"},
        {"median --json", "1,2;3\n", 0, "{\"count\":3,\"median\":2}"},
        {"median", "1 2\n3 x\n", 1, "quillon median: <stdin>:2: 'x' is not a number"},
        {"median", "# nothing\n", 1, "<stdin>: no numbers"},
        {"median --column 3 line.txt", "", 1, "line.txt:2: no column 3"},
        {"median --column 0", "", 2, "--column takes a number from 1"},
        {"fit --json 1 2 line.txt", "", 0, "{\"points\":7,\"a\":1,\"b\":2,\"meanAbsDev\":0}"},
        {"fit 1 2", "0 0\n", 1, "a line needs at least 2 points"},
        {"fit 1 3 line.txt", "", 1, "line.txt:2: no column 3"},
        {"fit 1", "", 2, "needs the columns X and Y"},
        {"fit 1 2", "5 1\n5 2\n", 1, "<stdin>: every x (column 1) is the same"},
        // The exact fit by default; the bisection stops far off on this set.
        {"fit 1 2", "50 110\n51 112\n52 114\n53 116\n54 118\n55 120\n56 122\n57 500\n58 126\n59 128\n60 130\n61 132\n62 134\n63 136\n64 138\n", 0, "a         10\nb         2\nmean |d|  25.06666667\n"},
        {"fit --method bisection 1 2", "50 110\n51 112\n52 114\n53 116\n54 118\n55 120\n56 122\n57 500\n58 126\n59 128\n60 130\n61 132\n62 134\n63 136\n64 138\n", 0, "b         -1141.402879\n"},
        {"fit --method bisection 1 2", "2 -9\n2 7\n2 5\n1 7\n2 9\n", 1, "bracket of the slope never closes"},
        {"fit --method simplex 1 2", "", 2, "simplex"},
    });
}

TEST(InvertCommand, EveryMethodInvertsAndSingularMatricesAreErrors) {
    ToolRunner tool;
    expectCases(tool, {
        {"invert", "4 7\n2 6\n", 0, "0.6 -0.7\n-0.2 0.4\n"},
        {"invert --method lu", "4,7\n2,6\n", 0, "0.6 -0.7\n-0.2 0.4\n"},
        {"invert --method spd", "4 1\n1 3\n", 0, "0.272727272727 -0.0909090909091\n-0.0909090909091 0.363636363636\n"},
        {"invert --method gaussj --digits 3", "3\n", 0, "0.333\n"},
        {"invert", "1 2\n2 4\n", 1, "the matrix is singular"},
        {"invert --method lu", "1 2\n2 4\n", 1,
         "singular or too ill-conditioned (A times the result differs from the identity by 1, more than 1e-9)"},
        {"invert --method spd", "1 1\n1 1\n", 1, "singular or not positive definite"},
        {"invert --method spd", "4 7\n2 6\n", 1, "not symmetric (row 1, column 2)"},
        {"invert", "1 2 3\n4 5\n", 1, "<stdin>:1: 3 numbers in a row of a 2 x 2 matrix"},
        {"invert", "", 1, "<stdin>: no matrix"},
        {"invert --method qr", "1\n", 2, "--method takes gaussj, lu or spd"},
    });
}

TEST(RandomCommand, SeededNormalDeviates) {
    ToolRunner tool;
    const ToolResult a = tool.run("random 2000 --seed 7");
    ASSERT_EQ(a.status, 0) << describe("random", a);
    EXPECT_EQ(a.out, tool.run("random --seed=7 2000").out) << "the same seed gives the same sequence";
    EXPECT_NE(a.out, tool.run("random 2000 --seed 8").out) << "another seed gives another sequence";
    const auto v = numbersIn(a.out);
    ASSERT_EQ(v.size(), 2000u);
    const auto shifted = numbersIn(tool.run("random 2000 --seed 7 --mean 10 --sigma 2").out);
    ASSERT_EQ(shifted.size(), 2000u);
    EXPECT_NEAR(shifted[5], 10.0 + 2.0 * v[5], 1e-9);
    expectCases(tool, {{"random 0", "", 0, ""},
                       {"random -3", "", 2, "N is a whole number from 0"},
                       {"random 5 --seed 0", "", 2, "--seed takes a whole number from 1"},
                       {"random", "", 2, "needs the count N"}});
}

TEST(SolveCommand, PositionAndResidualsFromStationObservations) {
    ToolRunner tool;
    // Exact ranges from (300, 400, 0) to three stations, and a bearing.
    const std::string stations = "station A 0 0 0\nstation B 1000 0 0\nstation C 0 1000 0\n";
    testing_support::writeBytes(tool.file("obs.txt"),
                                "# three stations\n" + stations +
                                    "start 350 450 0\n"
                                    "range A 500 0.01\n"
                                    "range B 806.2257748 0.01   # to B\n"
                                    "range C 670.8203932 0.01\n");
    // Easting and northing seen from a sensor one unit forward, heading east;
    // an observation that disagrees shows its residual; heights with --dims 3.
    testing_support::writeBytes(tool.file("grid.txt"), "easting 100 1\nnorthing 200 1\n");
    testing_support::writeBytes(tool.file("misfit.txt"), "easting 100 1\nnorthing 200 1\neasting 102 1\n");
    testing_support::writeBytes(tool.file("h.txt"), "easting 5 1\nnorthing 6 1\nheight 7 1\n");
    expectCases(tool, {
        {"solve obs.txt", "", 0, "easting 300.0000  northing 400.0000  height 0.0000  (height held)"},
        {"solve obs.txt", "", 0,
         "7     range          B            806.2258       806.2258       0.0000     0.01"},
        {"solve --heading 90 --offset 0,1,0 --start 0,0,0 grid.txt", "", 0,
         "easting 99.0000  northing 200.0000"},
        {"solve --json misfit.txt", "", 0, "{\"easting\":101.0000,\"northing\":200.0000,\"height\":0.0000,\"dims\":2,"
         "\"estimations\":2,\"sdEasting\":0.7071067811865476,\"sdNorthing\":1,\"sdHeight\":null,"},
        {"solve --json misfit.txt", "", 0, "\"kind\":\"easting\",\"stations\":\"\",\"observed\":102,"
         "\"computed\":101.0000,\"residual\":-1.0000"},
        {"solve misfit.txt", "", 0,
         "standard deviations  easting 0.707  northing 1  (from the sigmas given)\n"
         "sigma0 1.41  (a posteriori, redundancy 1)\n"},
        {"solve --dims 3 h.txt", "", 0, "easting 5.0000  northing 6.0000  height 7.0000\n"},
        {"solve -", stations + "range D 10 1\n", 1, "<stdin>:4: unknown station 'D'"},
        {"solve -", "range\n", 1, "<stdin>:1: a range line has 3 fields: STATION VALUE SIGMA"},
        {"solve -", "orbit 1 2\n", 1, "<stdin>:1: unknown line kind 'orbit'"},
        {"solve -", "easting x 1\n", 1, "<stdin>:1: 'x' is not a number"},
        {"solve -", stations + "station A 1 1 1\n", 1, "<stdin>:4: station 'A' is defined twice"},
        // A textbook intersection whose stations' mean lies on their baseline.
        {"solve -", "station A 0 0 0\nstation B 10 0 0\nbearing A 45 0.01\nbearing B 315 0.01\n", 0,
         "easting 5.0000  northing 5.0000"},
        {"solve -", "easting 1 1\n", 1, "no solution (the observations leave the position undetermined); give --start"},
        {"solve -", "station A 0 0 0\nstation B 10 0 0\nrange A 7.0710678 1\nrange B 7.0710678 1\n", 1,
         "two positions fit the observations equally well, easting 5.0000 northing"},
        {"solve -", "easting 1e9 1\nnorthing 0 1\n", 1, "no solution (the estimate runs away"},
        {"solve -", "# nothing\n", 1, "no observations"},
        {"solve --dims 4 -", "", 2, "--dims takes 2 or 3"},
        {"solve --offset 1,2 -", "", 2, "--offset takes RIGHT,FORWARD,UP"},
        {"solve", "", 2, "needs one observations file"},
    });
}

// Every number the tool accepts it reads in full: what it writes back as
// the number read is that number, to every digit typed.
TEST(ToolNumbers, EveryNumberAcceptedIsReadInFull) {
    ToolRunner tool;
    const char* const numbers[] = {"4000180.45123456", "-122.626920833333", "45.1234567890123", "1.5E-05",
                                   "0.30000000000000004", "+.5", "123456789012345678", "1e2"};
    const struct {
        const char* command;  // the number follows it, or is its input when it ends in "-"
        const char* echo;     // what the output has just before the number read
    } echoes[] = {{"dist -- ", " = "}, {"angle -- ", " = "}, {"median -", ""}, {"time --unix ", "unix time     "},
                  {"time --gps 2166 ", "gps week      2166 "}};
    for (const auto& e : echoes) {
        for (const char* number : numbers) {
            const bool input = std::string(e.command).back() == '-';
            const std::string args = e.command + std::string(input ? "" : number);
            const double typed = std::strtod(number, nullptr);
            if (args[0] == 't' && !(typed >= 0.0 && typed < 604800.0)) continue;  // beyond the week or the years
            const ToolResult r = tool.runOk(args, input ? number : "");
            const std::size_t at = r.out.find(e.echo);
            ASSERT_NE(at, std::string::npos) << describe(args, r);
            EXPECT_EQ(std::strtod(r.out.c_str() + at + std::strlen(e.echo), nullptr), typed) << describe(args, r);
        }
    }
}

}  // namespace
