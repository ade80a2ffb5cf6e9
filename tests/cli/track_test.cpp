// End-to-end tests of `quillon track` on the bundled real log, the shared
// real logs and crafted messy logs.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <tuple>

#include "nmea_reference.h"
#include "tool_runner.h"

#ifdef QUILLON_HAVE_GEOGRAPHICLIB
#include <GeographicLib/Geodesic.hpp>
#endif

namespace {

std::map<std::string, int> parseTypes(const std::string& text) {
    std::map<std::string, int> types;
    std::istringstream in(text);
    std::string name;
    int count = 0;
    while (in >> name >> count) {
        types[name] = count;
        in.ignore(1);  // the comma
    }
    return types;
}

// "180320" and "132819.60" as the tool writes them: "03-18-20 13:28:19.6".
std::string toolTime(const std::string& ddmmyy, const std::string& hhmmss) {
    return ddmmyy.substr(2, 2) + "-" + ddmmyy.substr(0, 2) + "-" + ddmmyy.substr(4, 2) + " " + hhmmss.substr(0, 2) +
           ":" + hhmmss.substr(2, 2) + ":" + hhmmss.substr(4, 4);
}

TEST(TrackBundledLog, SummaryAgreesWithAnIndependentReadingOfTheLog) {
    ToolRunner tool;
    const std::string args = "track " + quoted(kBundledLog);
    const ToolResult r = tool.runOk(args);
    const ReferenceLog ref = readReferenceLog(kBundledLog);
    ASSERT_GT(ref.fixes.size(), 100u) << "the bundled log changed";

    const std::pair<const char*, std::string> expected[] = {
        {"lines", std::to_string(ref.lines)}, {"sentences", std::to_string(ref.sentences)}, {"skipped", "0"},
        {"bad checksum", std::to_string(ref.badChecksum)}, {"fixes", std::to_string(ref.fixes.size())},
        {"rollover repaired", "(no line 'rollover repaired')"}};
    for (const auto& [label, value] : expected) EXPECT_EQ(summaryValue(r.out, label), value) << describe(args, r);
    EXPECT_EQ(parseTypes(summaryValue(r.out, "types")), ref.types) << describe(args, r);
    const std::string span = toolTime(ref.firstDate, ref.fixes.front().hhmmss) + " .. " +
                             toolTime(ref.firstDate, ref.fixes.back().hhmmss);
    EXPECT_EQ(summaryValue(r.out, "time span").substr(0, span.size()), span) << describe(args, r);
    EXPECT_NE(r.out.find("\n03-18-20 13:28:19.6  N41 34 29.877    W093 45 02.059    278.16     246.72         -"
                         "          2  10   0.9   raw\n"), std::string::npos) << "the first fix's row";
    EXPECT_EQ(lineCount(r.out.substr(0, r.out.find("\n\n") + 1)), int(ref.fixes.size()) + 1) << describe(args, r);
    const ToolResult fromStdin = tool.runOk("track -", testing_support::readBytes(kBundledLog));
    EXPECT_EQ(fromStdin.out.substr(0, fromStdin.out.find("\nlog")), r.out.substr(0, r.out.find("\nlog")));
    EXPECT_EQ(summaryValue(fromStdin.out, "log"), "<stdin>");
}

TEST(TrackBundledLog, TotalDistanceIsTheSumOfGeodesicSteps) {
#ifndef QUILLON_HAVE_GEOGRAPHICLIB
    GTEST_SKIP() << "needs GeographicLib (Debian package libgeographiclib-dev)";
#else
    // Without the geoid separation the steps lie on the ellipsoid, where
    // the geodesic is the reference.
    std::istringstream in(testing_support::readBytes(kBundledLog));
    std::string log, line;
    while (std::getline(in, line)) {
        if (line.compare(3, 3, "GGA") == 0) {
            std::string body = line.substr(1, line.find('*') - 1);
            std::size_t at = 0;
            for (int field = 0; field < 11; ++field) at = body.find(',', at) + 1;
            body.erase(at, body.find(',', at) - at);
            line = sentence(body);
        }
        log += line + "\n";
    }
    ToolRunner tool;
    testing_support::writeBytes(tool.file("flat.nmea"), log);
    const ReferenceLog ref = readReferenceLog(kBundledLog);
    const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
    double total = 0.0;
    for (std::size_t i = 1; i < ref.fixes.size(); ++i) {
        double step = 0.0;
        wgs84.Inverse(ref.fixes[i - 1].latitude, ref.fixes[i - 1].longitude, ref.fixes[i].latitude,
                      ref.fixes[i].longitude, step);
        total += step;
    }
    const std::string args = "track --json flat.nmea";
    const ToolResult r = tool.runOk(args);
    ASSERT_EQ(r.out.find("\"ellipsoidal_height\":null"), r.out.find("\"ellipsoidal_height\"")) << describe(args, r);
    const std::size_t at = r.out.find("\"distance\":");
    ASSERT_NE(at, std::string::npos) << describe(args, r);
    EXPECT_NEAR(std::atof(r.out.c_str() + at + 11), total, 0.002) << "geodesic sum " << total << "\n" << describe(args, r);
#endif
}

TEST(TrackBundledLog, JsonAndCsvCarryOneRecordPerFix) {
    ToolRunner tool;
    const int fixes = int(readReferenceLog(kBundledLog).fixes.size());

    const ToolResult json = tool.runOk("track --json " + quoted(kBundledLog));
    EXPECT_EQ(lineCount(json.out), fixes + 1) << describe("track --json", json);
    EXPECT_EQ(json.out.rfind("{\"class\":\"SUMMARY\"", json.out.size() - 2), json.out.rfind('\n', json.out.size() - 2) + 1)
        << describe("track --json", json);
    EXPECT_NE(json.out.find("\"fixes\":" + std::to_string(fixes) + ","), std::string::npos);
    EXPECT_EQ(json.out.find("{\"class\":\"FIX\",\"time\":\"2020-03-18T13:28:19.600Z\",\"time_of_day\":\"13:28:19.600\","
                            "\"unix_time\":1584538099.600"),
              0u)
        << describe("track --json", json);

    const ToolResult csv = tool.runOk("track --csv " + quoted(kBundledLog));
    EXPECT_EQ(lineCount(csv.out), fixes + 1) << describe("track --csv", csv);
    EXPECT_EQ(csv.out.find("time,lat,lon,msl_m,ellipsoidal_m,step_m,quality,satellites,hdop,filter"), 0u);
    EXPECT_NE(csv.out.find("\n2020-03-18T13:28:19.600Z,41.574965910,-93.750571901,278.161,246.719,,2,10,0.9,raw,"),
              std::string::npos);
    EXPECT_EQ(summaryValue(csv.err, "fixes"), std::to_string(fixes)) << "the CSV summary goes to stderr";
}

TEST(TrackSettings, UnitsStyleAndDecimalsShapeTheTexts) {
    ToolRunner tool;
    // Each row's setting (when given) stays for the rows after it; each foot
    // is labelled by its own symbol.
    const std::tuple<const char*, const char*, const char*> rows[] = {  // setting, options, text expected
        {nullptr, "", "N41 34 29.877    W093 45 02.059    278.16     246.72"},
        {nullptr, "--style dm --decimals 2 ", "N41 34.50        W093 45.03        278.16"},
        {"distUnits ft", "", "msl ft     ellipsoid ft   step ft"},
        {nullptr, "", "912.60     809.45"},
        {nullptr, "", "total distance      66.67 ft\n"},
        {"distUnits 2", "", "msl usft   ellipsoid usft step usft"},
        {nullptr, "", "912.60     809.44"},
        {"latLonStyle dm", "", "N41 34.49795     W093 45.03431     912.60"},
    };
    for (const auto& [set, options, expected] : rows) {
        ASSERT_EQ(set == nullptr ? 0 : tool.run(std::string("units set ") + set).status, 0) << set;
        const std::string args = std::string("track ") + options + quoted(kBundledLog);
        const ToolResult r = tool.run(args);
        EXPECT_NE(r.out.find(expected), std::string::npos) << describe(args, r);
        if (expected != std::get<2>(rows[0])) continue;
        // The first run, before any setting, creates the settings file with the defaults.
        const std::string ini = testing_support::readBytes(tool.defaultSettings());
        for (const char* key : {"distUnits=0", "wpUnits=0", "latLonStyle=0", "defaultDistCalc=0"})
            EXPECT_NE(ini.find(key), std::string::npos) << key << " missing from\n" << ini;
    }
}

// A log with one of every defect real receivers produce, one per line.
std::string messyLog() {
    std::string log;
    log += sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\r\n";  // 1 fix
    log += sentence("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W") + "\n";  // date
    log += std::string("\x01\xff\x00junk", 7) +
           sentence("GNGGA,123520,4807.039,N,01131.001,E,1,08,0.9,545.5,M,46.9,M,,", true) + "\r\n";  // 2
    log += "$GAGGA,123521,4807.040,N,01131.002,E,1,08,0.9,545.6,M,46.9,M,,\n";  // no checksum: cut
    log += "$GPGGA,123522,4807.041,N,01131.003,E,1,08,0.9,545.7,M,46.9,M,,*00\n";  // bad checksum
    log += sentence("GPGGA,123523,,,,,0,00,,,M,,M,,") + "\n";  // no fix
    log += sentence("PGRME,15.0,M,45.0,M,25.0,M") + "\n";   // proprietary
    log += "$" + sentence("BDGSV,1,1,00") + "\n";           // doubled start
    log += std::string("\x8a\x9b\xfe\x00 binary", 11) + "\n";  // no sentence
    log += sentence("GPGGA,1235") + "\n";                   // truncated
    log += sentence("GLGGA,123524,48x7.041,N,01131.003,E,1,08,0.9,545.7,M,46.9,M,,") + "\n";  // bad field
    log += "$GPGGA,123525,4807.0" + std::string(3 << 20, '9') + "\n";  // 3 MB line
    log += sentence("GLGLL,4807.050,N,01131.010,E,123526,A,A") + "\r";  // bare CR end: 3
    log += sentence("GBGGA,123527,4807.051,N,01131.011,E,1,08,0.9,545.8,M,46.9,M,,");  // 4, no final newline
    return log;
}

TEST(TrackMessyLog, EveryDefectIsCountedAndNoneStopsTheLog) {
    ToolRunner tool;
    testing_support::writeBytes(tool.file("messy.nmea"), messyLog());
    const ToolResult r = tool.runOk("track messy.nmea");
    const std::pair<const char*, const char*> expected[] = {
        {"lines", "14"},
        {"sentences", "12"},
        {"decoded", "GGA 4, RMC 1, GLL 1, ZDA 0, GNS 0"},
        {"other types", "1"},
        {"proprietary", "1"},
        {"bad checksum", "1"},
        {"no checksum", "0"},
        {"skipped", "5 (no sentence 1, malformed 0, truncated 1, cut 1, bad field 1, bad date 0, overlong 1; first at "
                    "line 4)"},
        {"fixes", "4"},
        {"cycles without fix", "1"},
        {"time span", "03-23-94 12:35:19.0 .. 03-23-94 12:35:27.0 (8.0 s)"},
    };
    for (const auto& [label, value] : expected)
        EXPECT_EQ(summaryValue(r.out, label), value) << "summary line '" << label << "'\n" << describe("track", r);
    // Lowercase checksums are read, and the last line without its line end; the GLL fix has no height.
    for (const char* shown : {"03-23-94 12:35:20.0", "03-23-94 12:35:26.0  N48 07 03.000    E011 31 00.600    -  ",
                              "03-23-94 12:35:27.0"})
        EXPECT_NE(r.out.find(shown), std::string::npos) << shown << "\n" << describe("track", r);
    // Neither the wrong checksum nor the one cut where its checksum should be is read; the cycle without a fix
    // prints no position at all, least of all a zero one.
    for (const char* hidden : {"12:35:21.0", "12:35:22.0", "12:35:23.0", "N00 00 00"})
        EXPECT_EQ(r.out.find(hidden), std::string::npos) << hidden << "\n" << describe("track", r);
}

TEST(TrackMessyLog, LogsWithoutAnyFixPrintNoPosition) {
    ToolRunner tool;
    std::string log;
    for (int i = 0; i < 5; ++i)
        log += sentence("GPGGA,,,,,,0,,,,,,,,") + "\n" + sentence("GPRMC,,V,,,,,,,,,,N") + "\n";
    const ToolResult r = tool.runOk("track -", log);
    EXPECT_EQ(summaryValue(r.out, "fixes"), "0");
    EXPECT_EQ(summaryValue(r.out, "cycles without fix"), "5");
    EXPECT_EQ(summaryValue(r.out, "time span"), "-");
    EXPECT_EQ(r.out.find("\n\n"), r.out.find('\n')) << "no fix line under the header\n" << describe("track -", r);
}

TEST(TrackRealLogs, EveryLogReadsToTheEndWithoutSkippedLines) {
    QUILLON_REQUIRE_NMEA_LOGS();
    ToolRunner tool;
    // Counts from the README of the logs: lines, and sentences without a checksum.
    const std::tuple<const char*, int, int> logs[] = {
        {"ublox-neo-m9n-nmea.nmea", 1403, 0}, {"unicore-um621.nmea", 882, 0}, {"skytraq-dgps.nmea", 1024, 0},
        {"edge/hp58534a.nmea", 13, 13},       {"edge/magellan-ec10.nmea", 76, 0},
    };
    for (const auto& [name, lines, noChecksum] : logs) {
        const std::string path = testing_support::nmeaDir() + "/" + name;
        const ToolResult r = tool.runOk("track " + quoted(path));
        for (const auto& [label, value] : {std::pair<const char*, int>{"lines", lines}, {"sentences", lines},
                                           {"no checksum", noChecksum}, {"bad checksum", 0}, {"skipped", 0}})
            EXPECT_EQ(summaryValue(r.out, label), std::to_string(value)) << name << " " << label;
    }
}

TEST(TrackErrors, BadUsageAndUnreadableInputsGiveOneClearLine) {
    ToolRunner tool;
    testing_support::writeBytes(tool.file("bad.ini"), "[units]\ndistUnits=7\n");
    testing_support::writeBytes(tool.file("word.ini"), "[units]\n\nlatLonStyle=dm\n");
    testing_support::writeBytes(tool.file("log.nmea"), sentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\n");
    const std::tuple<std::string, int, std::string> cases[] = {  // arguments, status, message
        {"track", 2, "needs one log file"},
        {"track a.nmea b.nmea", 2, "needs one log file"},
        {"track --style dd log.nmea", 2, "--style takes dms or dm"},
        {"track --decimals 9 log.nmea", 2, "--decimals takes a whole number 0..6"},
        {"track --csv --json log.nmea", 2, "give one of --csv, --json, --gpx"},
        {"track --gpx --kml log.nmea", 2, "give one of --csv, --json, --gpx"},
        {"track --rollover-after 1999 log.nmea", 2, "--rollover-after takes an ISO 8601 date"},
        {"track --baud 9600 log.nmea", 1, "--baud is for a serial device"},
        {"track --gpx -o no/such/dir/t.gpx log.nmea", 1, "cannot write no/such/dir/t.gpx"},
        {"track --frobnicate log.nmea", 2, "unknown option '--frobnicate'"},
        {"track missing.nmea", 1, "missing.nmea: no such file"},
        {"track .", 1, ".: is a directory"},
        {"track --units nowhere.ini log.nmea", 1, "settings file nowhere.ini: no such file"},
        {"track --units . log.nmea", 1, "settings file .: is a directory"},
        {"track --units bad.ini log.nmea", 1, "bad.ini:2: distUnits=7 is not a unit (0..4); set it with"},
        {"track --units word.ini log.nmea", 1, "word.ini:3: latLonStyle=dm is not a whole number"},
    };
    for (const auto& [args, status, message] : cases) {
        const ToolResult r = tool.run(args);
        EXPECT_EQ(r.status, status) << describe(args, r);
        EXPECT_NE(r.err.find(message), std::string::npos) << "expected '" << message << "'\n" << describe(args, r);
        EXPECT_EQ(lineCount(r.err), 1) << describe(args, r);
    }
}

}  // namespace
