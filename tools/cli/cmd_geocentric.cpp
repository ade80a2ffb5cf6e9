// quillon ecef / quillon geodetic: WGS 84 geodetic coordinates to and from
// earth-centred Cartesian ones, for one point or one point per input line.
#include <quillon/cpp/geodesy.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"
#include "text_input.h"

namespace cli {

namespace {

const char kEcefHelp[] =
    "usage: quillon ecef [OPTIONS] LATITUDE LONGITUDE [HEIGHT]\n"
    "       quillon ecef [OPTIONS] [FILE|-]\n"
    "\n"
    "Converts geodetic latitude and longitude (decimal degrees, north and\n"
    "east positive) and ellipsoidal height (meters, default 0) on WGS 84 to\n"
    "earth-centred X, Y, Z in meters. Without a point on the command line\n"
    "it reads one point per line from FILE or standard input; blank lines\n"
    "and lines starting with '#' are skipped.\n";

const char kGeodeticHelp[] =
    "usage: quillon geodetic [OPTIONS] X Y Z\n"
    "       quillon geodetic [OPTIONS] [FILE|-]\n"
    "\n"
    "Converts earth-centred X, Y, Z (meters) to WGS 84 geodetic latitude,\n"
    "longitude (decimal degrees) and ellipsoidal height (meters). Without a\n"
    "point on the command line it reads one point per line from FILE or\n"
    "standard input; blank lines and lines starting with '#' are skipped.\n";

constexpr double kPi = 3.141592653589793;

enum class Direction { kToEcef, kToGeodetic };

struct Style {
    bool csv;
    bool json;
};

// Converts one point given as 2 or 3 numbers; false with a reason otherwise.
// A conversion to geodetic coordinates that does not settle is written all
// the same (the iteration's last value), with a warning on standard error
// naming the point after `where` ("FILE:LINE: " or "").
bool convertPoint(Direction direction, const std::vector<std::string>& fields, Style style, Output& o,
                  const std::string& where, std::string* problem) {
    const std::size_t least = direction == Direction::kToEcef ? 2 : 3;
    if (fields.size() < least || fields.size() > 3) {
        *problem = direction == Direction::kToEcef ? "needs latitude, longitude and an optional height"
                                                   : "needs X, Y and Z";
        return false;
    }
    double v[3] = {0.0, 0.0, 0.0};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (!parseDouble(fields[i], &v[i])) {
            *problem = "'" + fields[i] + "' is not a number";
            return false;
        }
    }
    if (direction == Direction::kToEcef) {
        if (v[0] < -90.0 || v[0] > 90.0) {
            *problem = "latitude " + fields[0] + " is outside -90..90";
            return false;
        }
        const quillon::Geocentric c = quillon::to_geocentric({v[0] * kPi / 180.0, v[1] * kPi / 180.0, v[2]});
        if (style.json)
            o.text("{\"x\":").jsonFixed(c.x, 4).text(",\"y\":").jsonFixed(c.y, 4).text(",\"z\":").jsonFixed(c.z, 4).text("}\n");
        else
            o.fixed(c.x, 4).ch(style.csv ? ',' : ' ').fixed(c.y, 4).ch(style.csv ? ',' : ' ').fixed(c.z, 4).newline();
    } else {
        const quillon::GeodeticSolution solution = quillon::to_geodetic({v[0], v[1], v[2]});
        if (!solution.converged) {
            o.flush();
            std::fprintf(stderr, "quillon geodetic: %swarning: X %s, Y %s, Z %s: the conversion did not settle; "
                                 "its last estimate is written\n",
                         where.c_str(), fields[0].c_str(), fields[1].c_str(), fields[2].c_str());
        }
        const double lat = solution.point.latitude * (180.0 / kPi);
        const double lon = solution.point.longitude * (180.0 / kPi);
        const double h = solution.point.height;
        if (style.json)
            o.text("{\"lat\":").jsonFixed(lat, 10).text(",\"lon\":").jsonFixed(lon, 10).text(",\"height\":").jsonFixed(h, 4).text("}\n");
        else
            o.fixed(lat, 10).ch(style.csv ? ',' : ' ').fixed(lon, 10).ch(style.csv ? ',' : ' ').fixed(h, 4).newline();
    }
    return true;
}

int run(Direction direction, int argc, char** argv) {
    const char* name = direction == Direction::kToEcef ? "ecef" : "geodetic";
    const bool toEcef = direction == Direction::kToEcef;
    Style style{false, false};
    CommandLine args(name, toEcef ? kEcefHelp : kGeodeticHelp,
                     {Option::flag("csv", toEcef ? "x,y,z rows" : "latitude,longitude,height rows", &style.csv),
                      Option::flag("json", "one JSON object per point", &style.json)});
    if (const auto status = args.parse(argc, argv)) return *status;
    const auto& p = args.positionals();
    Output o(stdout);
    if (style.csv) o.text(toEcef ? "x,y,z\n" : "latitude,longitude,height\n");
    if (p.size() >= 2) {
        std::string problem;
        if (!convertPoint(direction, p, style, o, "", &problem)) {
            o.flush();
            return args.usageError(problem);
        }
        return o.flush() ? kSuccess : kBadInput;
    }
    TextInput in;
    const std::string path = p.empty() ? "-" : p[0];
    if (!in.open(path)) return inputError(name, openFailureReason(path));
    int status = kSuccess;
    std::string line;
    bool tooLong = false;
    while (in.next(&line, &tooLong)) {
        const auto fields = splitFields(line);
        if (fields.empty() || fields[0][0] == '#') continue;
        std::string problem;
        if (tooLong) problem = "line longer than " + std::to_string(TextInput::kMaxLine) + " bytes";
        if (problem.empty() && convertPoint(direction, fields, style, o, in.where(""), &problem)) continue;
        // The line is reported and skipped; the batch goes on.
        o.flush();
        status = inputError(name, in.where(problem));
    }
    if (in.failed()) status = inputError(name, in.where("read error"));
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace

int runEcef(int argc, char** argv) { return run(Direction::kToEcef, argc, argv); }
int runGeodetic(int argc, char** argv) { return run(Direction::kToGeodetic, argc, argv); }

}  // namespace cli
