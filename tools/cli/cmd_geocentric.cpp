// quillon ecef / quillon geodetic: WGS 84 geodetic coordinates to and from
// earth-centred Cartesian ones, for one point or one point per input line.
#include <quillon/geodesy.h>

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
bool convertPoint(Direction direction, const std::vector<std::string>& fields, Style style, Output& o,
                  std::string* problem) {
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
        double lat = v[0] * kPi / 180.0, lon = v[1] * kPi / 180.0, h = v[2], x = 0, y = 0, z = 0;
        conv(&lat, &lon, &h, &x, &y, &z, 2);
        if (style.json)
            o.text("{\"x\":").jsonFixed(x, 4).text(",\"y\":").jsonFixed(y, 4).text(",\"z\":").jsonFixed(z, 4).text("}\n");
        else
            o.fixed(x, 4).ch(style.csv ? ',' : ' ').fixed(y, 4).ch(style.csv ? ',' : ' ').fixed(z, 4).newline();
    } else {
        double lat = 0, lon = 0, h = 0, x = v[0], y = v[1], z = v[2];
        o.flush();  // the conversion may itself write a line on standard output
        conv(&lat, &lon, &h, &x, &y, &z, 1);
        lat *= 180.0 / kPi;
        lon *= 180.0 / kPi;
        if (style.json)
            o.text("{\"lat\":").jsonFixed(lat, 10).text(",\"lon\":").jsonFixed(lon, 10).text(",\"height\":");
        if (style.json)
            o.jsonFixed(h, 4).text("}\n");
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
        if (!convertPoint(direction, p, style, o, &problem)) {
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
        if (problem.empty() && convertPoint(direction, fields, style, o, &problem)) continue;
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
