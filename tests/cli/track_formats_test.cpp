// What `quillon track` writes for programs, read back by the programs that
// read it (GDAL, gpsbabel, libxml2, librsvg); its times and accuracy
// figures; the receivers' quirks it must not turn into wrong numbers; and
// live input through a pipe and a pseudo-terminal.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <regex>
#include <sstream>
#include <tuple>
#include <vector>

#include "nmea_reference.h"
#include "tool_runner.h"

namespace {

std::string crlf(const std::string& body) { return sentence(body) + "\r\n"; }

int countOf(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

// The first "x y" after the first "(" after `from` in WKT text.
std::pair<double, double> firstVertex(const std::string& wkt, std::size_t from = 0) {
    const std::size_t open = wkt.find_first_of('(', from);
    if (open == std::string::npos) return {NAN, NAN};
    const char* p = wkt.c_str() + wkt.find_first_not_of('(', open);
    char* end = nullptr;
    const double x = std::strtod(p, &end);
    return {x, std::strtod(end, nullptr)};
}

// The tool run outside ToolRunner, with the runner's settings folder.
std::string toolIn(const ToolRunner& tool) {
    return "env XDG_CONFIG_HOME=" + quoted(tool.file("config")) + " " + quoted(QUILLON_TOOL_PATH);
}

TEST(TrackFormats, GdalReadsEveryFormatWithTheFixesOfTheLog) {
    if (!have("ogr2ogr")) GTEST_SKIP() << "needs ogr2ogr (Debian package gdal-bin)";
    ToolRunner tool;
    const ReferenceLog ref = readReferenceLog(kBundledLog);
    const int fixes = int(ref.fixes.size());
    ASSERT_GT(fixes, 10);
    // The option; the source as ogr2ogr opens it (file, layer, open options); Point and LineString rows expected.
    const std::tuple<const char*, std::string, int, int> cases[] = {
        {"gpx", "out.gpx track_points", fixes, 0},
        {"geojson", "out.geojson", fixes, 1},
        {"geojsonseq", "GeoJSONSeq:out.geojsonseq", fixes, 1},
        {"kml", "out.kml", 0, 2},
        {"csv", "-oo X_POSSIBLE_NAMES=lon -oo Y_POSSIBLE_NAMES=lat out.csv", fixes, 0},
    };
    for (const auto& [option, source, points, lines] : cases) {
        const std::string args = std::string("track --") + option + " -o out." + option + " " + quoted(kBundledLog);
        const ToolResult r = tool.runOk(args);
        EXPECT_EQ(summaryValue(r.err, "fixes"), std::to_string(fixes)) << "summary on stderr\n" << describe(args, r);
        // One CSV row per feature, its geometry as WKT.
        const std::string dump = shell("cd " + quoted(tool.file("")) + " && ogr2ogr -f CSV /vsistdout/ " +
                                       source + " -lco GEOMETRY=AS_WKT 2>&1");
        EXPECT_EQ(countOf(dump, "\"POINT"), points) << option << "\n" << dump.substr(0, 400);
        EXPECT_EQ(countOf(dump, "\"LINESTRING"), lines) << option << "\n" << dump.substr(0, 400);
        // Longitude first, to the digits of the log.
        const auto [x, y] = firstVertex(dump, dump.find(points > 0 ? "\"POINT" : "\"LINESTRING"));
        EXPECT_NEAR(x, ref.fixes.front().longitude, 1e-8) << option;
        EXPECT_NEAR(y, ref.fixes.front().latitude, 1e-8) << option;
        if (lines > 0) {
            // Every fix is a vertex of the line.
            const std::size_t line = dump.find("\"LINESTRING");
            EXPECT_EQ(countOf(dump.substr(line, dump.find('"', line + 1) - line), ",") + 1, fixes) << option;
        }
    }
}

TEST(TrackFormats, GpsbabelReadsTheGpxBackToTheSamePositionsAndTimes) {
    if (!have("gpsbabel")) GTEST_SKIP() << "needs gpsbabel (Debian package gpsbabel)";
    ToolRunner tool;
    ASSERT_EQ(tool.run("track --gpx -o t.gpx " + quoted(kBundledLog)).status, 0);
    const ReferenceLog ref = readReferenceLog(kBundledLog);
    const std::string csv = shell("gpsbabel -t -i gpx -f " + quoted(tool.file("t.gpx")) +
                                  " -x transform,wpt=trk -o unicsv,utc=0 -F - 2>&1");
    std::istringstream in(csv);
    std::string row;
    std::getline(in, row);
    ASSERT_EQ(row.find("No,Latitude,Longitude"), 0u) << csv.substr(0, 300);
    const std::string& d = ref.firstDate;  // ddmmyy
    std::size_t n = 0;
    for (; n < ref.fixes.size() && std::getline(in, row); ++n) {
        double lat = NAN, lon = NAN;
        ASSERT_EQ(std::sscanf(row.c_str(), "%*[^,],%lf,%lf", &lat, &lon), 2) << row;
        EXPECT_NEAR(lat, ref.fixes[n].latitude, 1e-6) << row;
        EXPECT_NEAR(lon, ref.fixes[n].longitude, 1e-6) << row;
        // 2020/03/18,13:28:19.600 from 132819.60 of 180320
        const std::string& t = ref.fixes[n].hhmmss;
        const std::string when = "20" + d.substr(4, 2) + "/" + d.substr(2, 2) + "/" + d.substr(0, 2) + "," +
                                 t.substr(0, 2) + ":" + t.substr(2, 2) + ":" + t.substr(4, 2);
        EXPECT_NE(row.find(when), std::string::npos) << "expected " << when << " in " << row;
    }
    EXPECT_EQ(n, ref.fixes.size()) << csv.substr(0, 300);
}

TEST(TrackFormats, XmlOutputsAreWellFormedAndTheSvgRenders) {
    if (!have("xmllint")) GTEST_SKIP() << "needs xmllint (Debian package libxml2-utils)";
    ToolRunner tool;
    // A name that needs escaping in every XML file.
    testing_support::writeBytes(tool.file("a&b<c>.nmea"), testing_support::readBytes(kBundledLog));
    ASSERT_EQ(tool.run("track --gpx -o t.gpx --plot t.svg 'a&b<c>.nmea'").status, 0);
    ASSERT_EQ(tool.run("track --kml -o t.kml 'a&b<c>.nmea'").status, 0);
    for (const char* name : {"t.gpx", "t.kml", "t.svg"})
        EXPECT_EQ(std::system(("xmllint --noout " + quoted(tool.file(name))).c_str()), 0) << name;
    const std::string svg = testing_support::readBytes(tool.file("t.svg"));
    EXPECT_FALSE(std::regex_search(svg, std::regex("[ \",MLh]-[0-9]"))) << "a shape outside the picture";
    EXPECT_NE(svg.find(">RTK fixed (4)</text>"), std::string::npos);
    EXPECT_NE(testing_support::readBytes(tool.file("t.gpx")).find("<name>a&amp;b&lt;c&gt;.nmea</name>"), std::string::npos);
    if (!have("rsvg-convert")) GTEST_SKIP() << "needs rsvg-convert (Debian package librsvg2-bin)";
    const std::string png = tool.file("t.png");
    ASSERT_EQ(std::system(("rsvg-convert -o " + quoted(png) + " " + quoted(tool.file("t.svg"))).c_str()), 0);
    EXPECT_EQ(testing_support::readBytes(png).substr(1, 3), "PNG");
}

TEST(TrackFormats, GpxPointsFollowTheSchemaOrderAndVocabulary) {
    // The children of wptType in the order of the GPX 1.1 schema's
    // documentation (topografix.com/GPX/1/1), and the values of fixType.
    const std::vector<std::string> order = {"ele", "time", "magvar", "geoidheight", "name", "cmt", "desc",
                                            "src", "link", "sym", "type", "fix", "sat", "hdop", "vdop",
                                            "pdop", "ageofdgpsdata", "dgpsid", "extensions"};
    const std::vector<std::string> fixValues = {"none", "2d", "3d", "dgps", "pps"};
    ToolRunner tool;
    const ToolResult r = tool.runOk("track --gpx " + quoted(kBundledLog));
    int points = 0, rtk = 0;
    for (std::size_t at = r.out.find("<trkpt "); at != std::string::npos; at = r.out.find("<trkpt ", at + 1)) {
        ++points;
        const std::size_t end = r.out.find("</trkpt>", at);
        std::size_t last = 0;
        for (std::size_t tag = r.out.find('<', at + 1); tag < end; tag = r.out.find('<', tag + 1)) {
            if (r.out[tag + 1] == '/') continue;
            const std::string name = r.out.substr(tag + 1, r.out.find_first_of(" >", tag) - tag - 1);
            if (name.find(':') != std::string::npos) continue;  // inside extensions
            const auto place = std::find(order.begin(), order.end(), name);
            ASSERT_NE(place, order.end()) << name << " is no child of trkpt";
            const std::size_t index = std::size_t(place - order.begin());
            EXPECT_GT(index + 1, last) << name << " out of order in " << r.out.substr(at, end - at);
            last = index + 1;
            if (name == "fix") {
                const std::string value = r.out.substr(tag + 5, r.out.find('<', tag + 1) - tag - 5);
                EXPECT_NE(std::find(fixValues.begin(), fixValues.end(), value), fixValues.end()) << value;
            }
            if (name == "extensions") break;
        }
        rtk += r.out.substr(at, end - at).find("<quillon:rtk>fixed</quillon:rtk>") != std::string::npos;
    }
    EXPECT_EQ(points, int(readReferenceLog(kBundledLog).fixes.size()));
    EXPECT_EQ(rtk, 18) << "the bundled log's RTK fixed fixes";
    // One segment per continuous run: the bundled log has one gap of 630 s.
    EXPECT_EQ(countOf(r.out, "<trkseg>"), 2);
}

std::string degreesMinutes(double degrees, int width) {
    char text[40];
    const double a = std::fabs(degrees);
    const int whole = int(a);
    std::snprintf(text, sizeof text, "%0*d%011.8f", width, whole, (a - whole) * 60.0);
    return text;
}

TEST(TrackFigures, SpreadAboutTheMeanMatchesFiguresComputedFromTheKnownOffsets) {
    // Fixes scattered east and north about a point with known deviations,
    // correlated; heights with their own spread; a gap of a minute.
    const double lat0 = 47.5, lon0 = 8.25, a = 6378137.0, e2 = 0.0066943799901413165;
    const double w = std::sqrt(1.0 - e2 * std::sin(lat0 * M_PI / 180) * std::sin(lat0 * M_PI / 180));
    const double meridian = a * (1.0 - e2) / (w * w * w), normal = a / w;  // radii of curvature
    const int n = 4000;
    std::mt19937_64 engine(42);  // the same log on every run
    std::normal_distribution<double> gauss;
    std::vector<double> east(n), north(n), up(n);
    std::string log;
    double t = 36000.0;
    int q4 = 0;
    for (int i = 0; i < n; ++i) {
        const double g1 = gauss(engine), g2 = gauss(engine);
        east[i] = 1.5 * g1;
        north[i] = 0.6 * g1 + 0.8 * g2;
        up[i] = 100.0 + 2.5 * gauss(engine);
        const double lat = lat0 + north[i] / meridian * 180 / M_PI;
        const double lon = lon0 + east[i] / (normal * std::cos(lat0 * M_PI / 180)) * 180 / M_PI;
        t += i == n / 2 ? 61.0 : 1.0;
        char hhmmss[16];
        std::snprintf(hhmmss, sizeof hhmmss, "%02d%02d%02d.00", int(t / 3600), int(t / 60) % 60, int(t) % 60);
        const int quality = i % 10 == 0 ? 4 : 1;
        q4 += quality == 4;
        char tail[64];
        std::snprintf(tail, sizeof tail, ",%d,12,%.1f,%.3f,M,47.000,M,,", quality, 0.5 + (i % 7) * 0.1, up[i] - 47.0);
        log += crlf("GPGGA," + std::string(hhmmss) + "," + degreesMinutes(lat, 2) + ",N," +
                        degreesMinutes(lon, 3) + ",E" + tail);
    }
    auto mean = [](const std::vector<double>& v) {
        double s = 0;
        for (double x : v) s += x;
        return s / double(v.size());
    };
    auto sd = [&mean](const std::vector<double>& v) {
        const double m = mean(v);
        double s = 0;
        for (double x : v) s += (x - m) * (x - m);
        return std::sqrt(s / double(v.size() - 1));
    };
    // The radii that hold 50 % and 95 % of the fixes about their mean.
    const double me = mean(east), mn = mean(north);
    std::vector<double> radius(n);
    for (int i = 0; i < n; ++i) radius[i] = std::hypot(east[i] - me, north[i] - mn);
    std::sort(radius.begin(), radius.end());

    ToolRunner tool;
    const ToolResult r = tool.runOk("track --json -", log);
    const std::string summary = r.out.substr(r.out.find("{\"class\":\"SUMMARY\""));
    auto value = [&summary](const std::string& key) {
        const std::size_t at = summary.find("\"" + key + "\":");
        return at == std::string::npos ? NAN : std::atof(summary.c_str() + at + key.size() + 3);
    };
    const struct {
        const char* key;
        double expected, tolerance;
    } figures[] = {
        {"sd_east", sd(east), 1e-3},
        {"sd_north", sd(north), 1e-3},
        {"sd_up", sd(up), 1e-3},
        {"ellipsoidal_height", mean(up), 1e-3},
        {"lat", lat0 + mn / meridian * 180 / M_PI, 1e-8},
        {"lon", lon0 + me / (normal * std::cos(lat0 * M_PI / 180)) * 180 / M_PI, 1e-8},
        {"drms2", 2 * std::hypot(sd(east), sd(north)), 2e-3},
        // A sample of 4000 holds its quantiles to about 2 %.
        {"cep50", radius[n / 2], 0.04 * radius[n / 2]},
        {"r95", radius[n * 95 / 100], 0.04 * radius[n * 95 / 100]},
        {"gaps", 1, 0},
        {"longest_gap", 61, 1e-9},
        {"min", 0.5, 1e-9},
        {"median", 0.8, 1e-9},
        {"max", 1.1, 1e-9},
        {"4", double(q4), 0},
        {"1", double(n - q4), 0},
    };
    for (const auto& f : figures) EXPECT_NEAR(value(f.key), f.expected, f.tolerance) << f.key << "\n" << summary;
}

// Summary lines of one crafted log a row: what receivers do must not become a wrong number.
TEST(TrackQuirks, ReceiverQuirksAreDecodedOrCountedNeverMisread) {
    const std::string gga = "123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    const std::tuple<const char*, std::string, const char*, const char*> cases[] = {  // what, log, label, value
        {"GNS alone", crlf("GNGNS,123519.00,4807.038,N,01131.000,E,ANR,08,0.9,545.4,46.9,,,V"), "decoded",
         "GGA 0, RMC 0, GLL 0, ZDA 0, GNS 1"},
        {"GNS height", crlf("GNGNS,123519.00,4807.038,N,01131.000,E,ANR,08,0.9,545.4,46.9,,,V"), "mean position",
         "N48 07 02.280 E011 31 00.000 592.30 m ellipsoidal"},
        {"GNS all N", crlf("GNGNS,123519.00,,,,,NN,,,,,,"), "cycles without fix", "1"},
        {"GGA in feet", crlf("GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,1000.0,F,100.0,F,,"), "mean position",
         "N48 07 02.280 E011 31 00.000 335.28 m ellipsoidal"},
        {"simulator", crlf("GPGGA,123519.00,4807.038,N,01131.000,E,8,08,0.9,545.4,M,46.9,M,,"), "not real fixes",
         "1 (simulator 1, flagged invalid 0)"},
        {"RMC V beside a GGA fix",
         crlf("GPGGA," + gga) + crlf("GPRMC,123519.00,V,4807.038,N,01131.000,E,0,0,230394,,,N"),
         "not real fixes", "1 (simulator 0, flagged invalid 1)"},
        {"talkers", crlf("BDGGA," + gga) + crlf("GQGGA,123520" + gga.substr(6)) +
                        crlf("GIGGA,123521" + gga.substr(6)) + crlf("QZGGA,123522" + gga.substr(6)),
         "fixes", "4"},
        {"lone CR line ends", "$GPTXT,1*00\r$GPTXT,2*00\rabc\r", "lines", "3"},
        {"February 30", crlf("GPRMC,123519,A,4807.038,N,01131.000,E,0,0,300221,,,A"), "skipped",
         "1 (no sentence 0, malformed 0, truncated 0, cut 0, bad field 0, bad date 1, overlong 0; first at line 1)"},
        {"time backwards", crlf("GPGGA," + gga) + crlf("GPGGA,123518" + gga.substr(6)), "time backwards", "1"},
        {"undated", crlf("GPGGA," + gga), "time span", "12:35:19.0 .. 12:35:19.0"},
        {"quality 0 beside a position", crlf("GPGGA," + gga.substr(0, 33) + "0" + gga.substr(34)), "fixes", "0"},
        {"GNS of no fix beside a position", crlf("GNGNS,123519.00,4807.038,N,01131.000,E,NN,08,0.9,545.4,46.9,,"),
         "fixes", "0"},
        {"address run into", crlf("GPGGA;" + gga), "skipped",
         "1 (no sentence 0, malformed 1, truncated 0, cut 0, bad field 0, bad date 0, overlong 0; first at line 1)"},
        {"a latitude of 38 characters, which a cut at 29 would read", crlf("GPGGA,123519,4807.038" + std::string(30, '0') + gga.substr(18)), "skipped",
         "1 (no sentence 0, malformed 0, truncated 0, cut 0, bad field 1, bad date 0, overlong 0; first at line 1)"},
    };
    ToolRunner tool;
    for (const auto& [what, log, label, value] : cases)
        EXPECT_EQ(summaryValue(tool.runOk("track -", log).out, label), value) << what;
}

TEST(TrackTimes, DatesReachEarlierFixesFollowMidnightAndRepairTheRollover) {
    const std::string fix = ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
    // What, log, options, and the first and last fixes' times in JSON.
    const std::tuple<const char*, std::string, const char*, const char*, const char*> cases[] = {
        {"dated afterwards, over midnight",
         crlf("GPGGA,235959.50" + fix) + crlf("GPRMC,000000.50,A,4807.038,N,01131.000,E,0,0,010120,,,A"), "",
         "2019-12-31T23:59:59.500Z", "2020-01-01T00:00:00.500Z"},
        {"into the next day",
         crlf("GPZDA,235959.00,31,12,2019,00,00") + crlf("GPGGA,235959.00" + fix) +
             crlf("GPGGA,000001.00" + fix),
         "", "2019-12-31T23:59:59.000Z", "2020-01-01T00:00:01.000Z"},
        {"week rollover",
         crlf("GPRMC,120000.00,A,4807.038,N,01131.000,E,0,0,220899,,,A"), "--rollover-after 2019-04-07 ",
         "2019-04-07T12:00:00.000Z", "2019-04-07T12:00:00.000Z"},
        {"never dated", crlf("GPGGA,120000.00" + fix), "", "null", "null"},
    };
    ToolRunner tool;
    for (const auto& [what, log, options, first, last] : cases) {
        const ToolResult r = tool.runOk(std::string("track --json ") + options + "-", log);
        const std::string quote = first[0] == 'n' ? "" : "\"";
        EXPECT_NE(r.out.find("\"first\":" + quote + first + quote + ",\"last\":" + quote + last + quote),
                  std::string::npos)
            << what << "\n" << describe("track --json", r);
    }
    const ToolResult rolled = tool.run("track --rollover-after 2019-04-07 -", std::get<1>(cases[2]));
    EXPECT_EQ(summaryValue(rolled.out, "rollover repaired"), "1 fixes") << describe("rollover", rolled);
}

// The tool's output up to the first fix line, read while the input is still open.
TEST(TrackLive, FixesAppearBeforeThePipeOrTheDeviceEnds) {
    const std::string one = crlf("GPGGA,120000.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    const std::string two = crlf("GPGGA,120001.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    ToolRunner tool;
    // A pipe: the second sentence completes the first fix, the third is
    // written only once that fix has come out.
    testing_support::writeBytes(tool.file("a"), one + two);
    testing_support::writeBytes(tool.file("b"), crlf("GPGGA,120002.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,"));
    const ToolResult piped = tool.run(
        "track --json - < /dev/null > /dev/null; { cat a; i=0; until grep -q FIX out || [ $i -ge 100 ]; do sleep 0.1; "
        "i=$((i+1)); done; grep -c FIX out > before; cat b; } | " + toolIn(tool) +
        " track --json - > out; cat before out");
    EXPECT_EQ(piped.out.substr(0, 2), "1\n") << "one fix before the input ended\n" << describe("pipe", piped);
    EXPECT_EQ(countOf(piped.out, "\"class\":\"FIX\""), 3) << describe("pipe", piped);
    EXPECT_EQ(countOf(tool.run("track --geojson a").out, "\"LineString\""), 1) << "two fixes make a line";

    // A pseudo-terminal set up as a serial device; closing its far end is a
    // receiver unplugged.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    fcntl(master, F_SETFD, FD_CLOEXEC);  // the tool must not hold the far end open
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    const std::string device = ptsname(master);
    std::FILE* run = popen(("timeout 60 " + toolIn(tool) + " track --json --baud 115200 " + device + " 2>&1").c_str(), "r");
    ASSERT_NE(run, nullptr);
    // The receiver talks once the tool has set the device up.
    struct termios mode;
    for (int i = 0; i < 100 && tcgetattr(master, &mode) == 0 && (mode.c_lflag & ICANON) != 0; ++i) usleep(100000);
    ASSERT_EQ(write(master, (one + two).data(), one.size() + two.size()), ssize_t(one.size() + two.size()));
    char line[2048] = {0};
    ASSERT_NE(std::fgets(line, sizeof line, run), nullptr);
    EXPECT_EQ(std::string(line).find("{\"class\":\"FIX\",\"time\":null,\"time_of_day\":\"12:00:00.000\""), 0u) << line;
    close(master);
    std::string rest;
    while (std::fgets(line, sizeof line, run) != nullptr) rest += line;
    const int status = pclose(run);
    EXPECT_EQ(WEXITSTATUS(status), 1) << rest;
    EXPECT_NE(rest.find("{\"class\":\"SUMMARY\""), std::string::npos) << rest;
    EXPECT_NE(rest.find("the device stopped answering"), std::string::npos) << rest;
}

// --follow waits at the end of a log another program is still writing, as
// tail -f does; an interrupt (Ctrl-C) ends the reading, and the last fix and
// the summary still come out, with status 0.
TEST(TrackLive, FollowReadsAGrowingLogUntilInterrupted) {
    auto gga = [](int second) {
        return crlf("GPGGA,12000" + std::to_string(second) + ".00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
    };
    ToolRunner tool;
    testing_support::writeBytes(tool.file("log"), gga(0) + gga(1));
    testing_support::writeBytes(tool.file("more"), gga(2) + gga(3));
    auto waitFor = [](int fixes) {
        return "i=0; until [ $(grep -c FIX out) -ge " + std::to_string(fixes) +
               " ] || [ $i -ge 100 ]; do sleep 0.1; i=$((i+1)); done; ";
    };
    const ToolResult r = tool.run("--version > /dev/null; " + toolIn(tool) + " track --json --follow log > out & pid=$!; " +
                                  waitFor(1) + "cat more >> log; " +
                                  waitFor(3) + "grep -c FIX out; kill -INT $pid; wait $pid; echo status $?; cat out");
    EXPECT_EQ(r.out.substr(0, 11), "3\nstatus 0\n") << "three fixes while the log grew\n" << describe("follow", r);
    EXPECT_EQ(countOf(r.out, "\"class\":\"FIX\""), 4) << describe("follow", r);
    EXPECT_NE(r.out.find("{\"class\":\"SUMMARY\""), std::string::npos) << describe("follow", r);
}

}  // namespace
