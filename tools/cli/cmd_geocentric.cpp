// quillon ecef / quillon geodetic: WGS 84 geodetic coordinates to and from
// earth-centred Cartesian ones, for one point or one point per input line.
#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/geodesy.hpp>

#include <cmath>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"
#include "text_input.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kEcefHelp[] =
    "usage: quillon ecef [OPTIONS] LATITUDE LONGITUDE [HEIGHT]\n"
    "       quillon ecef [OPTIONS] [FILE|-]\n"
    "\n"
    "Converts geodetic latitude and longitude on WGS 84 and the ellipsoidal\n"
    "height (meters, default 0) to earth-centred X, Y, Z in meters. The\n"
    "latitude and longitude are decimal degrees (north and east positive) or\n"
    "typed angles as 'quillon angle' reads them: '51 28 40.1 N', '51:28:40.1',\n"
    "'0d0m5.4sW'; a latitude may not pass 90 degrees nor a longitude 180.\n";

const char kGeodeticHelp[] =
    "usage: quillon geodetic [OPTIONS] X Y Z\n"
    "       quillon geodetic [OPTIONS] [FILE|-]\n"
    "\n"
    "Converts earth-centred X, Y, Z (meters) to WGS 84 geodetic latitude,\n"
    "longitude (decimal degrees, or with --style the texts of 'quillon\n"
    "angle') and ellipsoidal height (meters).\n";

const char kBatchHelp[] =
    "Without a point on the command line it reads one point per line from\n"
    "FILE or standard input: fields separated by commas, semicolons or tabs\n"
    "when the line has any (so that '51 28 40 N, 0 0 5 W, 45' reads), by\n"
    "blanks otherwise. Every line gives one line of output, in order: a bad\n"
    "point gives '-' for each number (empty CSV fields, a JSON object with\n"
    "its error) and an error on standard error naming its line, and the\n"
    "exit status is then 1. Blank lines and lines starting with '#' are\n"
    "copied to the plain output as they are, so that its lines stay those\n"
    "of the input.\n";

constexpr double kPi = 3.141592653589793;

enum class Direction { kToEcef, kToGeodetic };

struct Format {
    bool csv = false;
    bool json = false;
    bool id = false;
    int precision = 4;  // decimals of meters; degrees get 6 more
    std::optional<int> style;  // latitude and longitude texts: 0 dms, 1 dm
};

// A line's fields: split at commas, semicolons and tabs when it has any,
// so that typed angles may hold blanks, and at blanks otherwise.
std::vector<std::string> coordinateFields(const std::string& line) {
    if (line.find_first_of(",;\t") == std::string::npos) return splitFields(line);
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = std::min(line.find_first_of(",;\t", start), line.size());
        std::string field = line.substr(start, end - start);
        const std::size_t first = field.find_first_not_of(' ');
        field = first == std::string::npos ? "" : field.substr(first, field.find_last_not_of(' ') - first + 1);
        fields.push_back(field);
        if (end == line.size()) return fields;
        start = end + 1;
    }
}

// One converted point: the three numbers written, and the latitude and
// longitude texts of --style.
struct Converted {
    double v[3] = {0.0, 0.0, 0.0};
    std::string latText, lonText;
    bool settled = true;
};

// Reads the point of the fields (the identifier, when there is one,
// removed) into in: degrees and metres, or metres; false with a reason.
bool readPoint(Direction direction, const std::vector<std::string>& fields, double in[3], std::string* problem) {
    const bool toEcef = direction == Direction::kToEcef;
    if (fields.size() < (toEcef ? 2u : 3u) || fields.size() > 3) {
        *problem = toEcef ? "needs latitude, longitude and an optional height" : "needs X, Y and Z";
        if (toEcef && fields.size() > 3) *problem += " (quote a typed angle with blanks: '51 28 40 N')";
        return false;
    }
    in[0] = in[1] = in[2] = 0.0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (toEcef && i < 2) {
            const quillon::Result<double> angle =
                i == 0 ? quillon::read_latitude(fields[i]) : quillon::read_longitude(fields[i]);
            if (!angle) {
                *problem = "'" + fields[i] + "': " + refusal(angle.error(), fields[i]);
                return false;
            }
            in[i] = *angle;
        } else if (!parseDouble(fields[i], &in[i])) {
            *problem = "'" + fields[i] + "' is not a number";
            return false;
        }
    }
    return true;
}

// Converts points in place: in[3 i .. 3 i + 2] becomes the point's output
// numbers (metres, or degrees and metres); settled[i] says whether the
// geodetic iteration settled. Many points at once go through the library's
// array form, which converts several in lockstep.
void convertPoints(Direction direction, std::vector<double>& in, std::vector<bool>& settled) {
    const std::size_t n = in.size() / 3;
    settled.assign(n, true);
    if (n == 0) return;
    std::vector<double> a(n), b(n), c(n);
    for (std::size_t i = 0; i < n; ++i) a[i] = in[3 * i], b[i] = in[3 * i + 1], c[i] = in[3 * i + 2];
    if (direction == Direction::kToEcef) {
        for (std::size_t i = 0; i < n; ++i) a[i] *= kPi / 180.0, b[i] *= kPi / 180.0;
        quillon::to_geocentric(a.data(), b.data(), c.data(), a.data(), b.data(), c.data(), n);
    } else {
        const std::vector<double> x = a, y = b, z = c;
        if (quillon::to_geodetic(x.data(), y.data(), z.data(), a.data(), b.data(), c.data(), n) > 0)
            for (std::size_t i = 0; i < n; ++i) settled[i] = quillon::to_geodetic({x[i], y[i], z[i]}).converged;
        for (std::size_t i = 0; i < n; ++i) a[i] *= 180.0 / kPi, b[i] *= 180.0 / kPi;
    }
    for (std::size_t i = 0; i < n; ++i) in[3 * i] = a[i], in[3 * i + 1] = b[i], in[3 * i + 2] = c[i];
}

// The converted numbers v as a row's point, with the texts of --style;
// false with a reason when a number is not finite.
bool finishPoint(Direction direction, const double v[3], bool settled, const Format& format, Converted* out,
                 std::string* problem) {
    const bool toEcef = direction == Direction::kToEcef;
    out->v[0] = v[0], out->v[1] = v[1], out->v[2] = v[2];
    out->settled = settled;
    if (!toEcef && format.style) {
        const quillon::AngleStyle style = quillon::angle_style(*format.style);
        const int decimals = std::min(format.precision + (*format.style == 0 ? 2 : 4), 6);
        out->latText = quillon::format_latitude(out->v[0], decimals, style);
        out->lonText = quillon::format_longitude(out->v[1], decimals, style);
    }
    if (!(std::isfinite(out->v[0]) && std::isfinite(out->v[1]) && std::isfinite(out->v[2]))) {
        *problem = toEcef ? "the height is too large to convert" : "the point is too far from the earth to convert";
        return false;
    }
    return true;
}

// Writes one row: the identifier when there is one, then the point, or a
// placeholder for each number when there is none.
void writeRow(Output& o, Direction direction, const Format& format, const std::string* id, const Converted* point,
              const std::string& problem) {
    const bool toEcef = direction == Direction::kToEcef;
    const bool texts = !toEcef && format.style.has_value();
    const int decimals[3] = {toEcef ? format.precision : format.precision + 6,
                             toEcef ? format.precision : format.precision + 6, format.precision};
    if (format.json) {
        static const char* const kKeys[2][3] = {{"x", "y", "z"}, {"lat", "lon", "height"}};
        o.ch('{');
        if (id != nullptr) o.text("\"id\":").jsonString(*id).ch(',');
        if (point == nullptr) {
            o.text("\"error\":").jsonString(problem).text("}\n");
            return;
        }
        for (int i = 0; i < 3; ++i)
            o.text(i > 0 ? "," : "").ch('"').text(kKeys[toEcef ? 0 : 1][i]).text("\":").jsonShortest(point->v[i]);
        if (texts)
            o.text(",\"latitude\":").jsonString(point->latText).text(",\"longitude\":").jsonString(point->lonText);
        o.text("}\n");
        return;
    }
    // Texts hold blanks: their plain rows are tab-separated, which ecef
    // reads back.
    const char separator = format.csv ? ',' : texts ? '\t' : ' ';
    if (id != nullptr) (format.csv ? o.csvString(*id) : o.text(*id)).ch(separator);
    for (int i = 0; i < 3; ++i) {
        if (i > 0) o.ch(separator);
        if (point == nullptr)
            o.text(format.csv ? "" : "-");
        else if (texts && i < 2)
            o.text(i == 0 ? point->latText : point->lonText);
        else
            o.fixed(point->v[i], decimals[i]);
    }
    o.newline();
}

int run(Direction direction, int argc, char** argv) {
    const char* name = direction == Direction::kToEcef ? "ecef" : "geodetic";
    const bool toEcef = direction == Direction::kToEcef;
    Format format;
    std::optional<int> precision;
    std::vector<Option> options = {
        Option::flag("csv", toEcef ? "x,y,z rows" : "latitude,longitude,height rows", &format.csv),
        Option::flag("json", "one JSON object per point, with every digit of the numbers", &format.json),
        Option::flag("id", "the first field of each point is its identifier, written before it", &format.id),
        Option::whole("precision", "N", 0, 12,
                      toEcef ? "decimals of the meters, 0..12 (default 4)"
                             : "decimals of the meters, 0..12 (default 4); degrees get N + 6",
                      &precision)};
    if (!toEcef)
        options.push_back(Option::choice("style", {{"dms", nullptr}, {"dm", nullptr}},
                                         "latitude and longitude as texts in degrees minutes seconds or degrees "
                                         "and decimal minutes, seconds to N + 2 decimals, minutes to N + 4 (at "
                                         "most 6)",
                                         &format.style));
    CommandLine args(name, toEcef ? kEcefHelp : kGeodeticHelp, std::move(options), kBatchHelp);
    if (const auto status = args.parse(argc, argv)) return *status;
    format.precision = precision.value_or(4);
    std::vector<std::string> p = args.positionals();
    Output o(stdout);
    if (format.csv) {
        if (format.id) o.text("id,");
        o.text(toEcef ? "x,y,z\n" : "latitude,longitude,height\n");
    }
    const std::size_t idFields = format.id ? 1 : 0;
    // The point of the fields, read into in; false with a reason.
    auto pointOf = [&](std::vector<std::string>& fields, std::string* id, double in[3], std::string* problem) {
        if (fields.size() <= idFields) {
            *problem = format.id ? "needs an identifier and a point" : "needs a point";
            return false;
        }
        if (format.id) {
            *id = fields[0];
            fields.erase(fields.begin());
        }
        return readPoint(direction, fields, in, problem);
    };
    const auto warn = [&](const Converted& point, const std::string& where) {
        if (point.settled) return;
        o.flush();
        std::fprintf(stderr, "quillon geodetic: %swarning: the conversion did not settle; its last estimate is "
                             "written\n", where.c_str());
    };

    if (p.size() >= 2 + idFields) {  // one point on the command line
        std::string id, problem;
        std::vector<double> in(3);
        if (!pointOf(p, &id, in.data(), &problem)) return inputError(name, problem);
        std::vector<bool> settled;
        convertPoints(direction, in, settled);
        Converted point;
        if (!finishPoint(direction, in.data(), settled[0], format, &point, &problem)) return inputError(name, problem);
        warn(point, "");
        writeRow(o, direction, format, format.id ? &id : nullptr, &point, "");
        return o.flush() ? kSuccess : kBadInput;
    }
    if (p.size() > 1) return args.usageError(toEcef ? "needs a point (LATITUDE LONGITUDE [HEIGHT]) or one file"
                                                    : "needs a point (X Y Z) or one file");
    TextInput in;
    const std::string path = p.empty() ? "-" : p[0];
    if (!in.open(path)) return inputError(name, openFailureReason(path));
    int status = kSuccess;

    // Lines of a file are taken a block at a time, so that the block's
    // points are converted together; the rows still come out one per line,
    // in order. Standard input may be a live source (a receiver, a person
    // typing), so each of its lines is answered before the next is read.
    struct Row {
        bool copied = false;  // a blank or comment line, written as it is
        bool read = false;    // a point was read: its numbers are at points[3 * index]
        std::string text;     // the copied line, or the problem
        std::string id, where;
        std::size_t index = 0;
    };
    const std::size_t block = path == "-" ? 1 : 1024;
    std::vector<Row> rows;
    std::vector<double> points;
    std::vector<bool> settled;
    const auto emit = [&] {
        convertPoints(direction, points, settled);
        for (Row& row : rows) {
            if (row.copied) {
                o.text(row.text).newline();
                continue;
            }
            Converted point;
            const bool ok = row.read && finishPoint(direction, &points[3 * row.index], settled[row.index], format,
                                                    &point, &row.text);
            if (ok) warn(point, row.where);
            writeRow(o, direction, format, format.id ? &row.id : nullptr, ok ? &point : nullptr, row.text);
            if (ok) continue;
            o.flush();
            status = inputError(name, row.where + row.text);
        }
        rows.clear();
        points.clear();
    };
    std::string line;
    bool tooLong = false;
    while (in.next(&line, &tooLong)) {
        const std::size_t first = line.find_first_not_of(" \t");
        if (!tooLong && (first == std::string::npos || line[first] == '#')) {
            if (!format.csv && !format.json) {
                rows.emplace_back();
                rows.back().copied = true;
                rows.back().text = line;
            }
            continue;
        }
        rows.emplace_back();
        Row& row = rows.back();
        row.where = in.where("");
        row.text = "line longer than " + std::to_string(TextInput::kMaxLine) + " bytes";
        if (!tooLong) {
            std::vector<std::string> fields = coordinateFields(line);
            double v[3];
            row.read = pointOf(fields, &row.id, v, &row.text);
            if (row.read) {
                row.index = points.size() / 3;
                points.insert(points.end(), v, v + 3);
            }
        }
        if (rows.size() >= block) emit();
    }
    emit();
    if (in.failed()) status = inputError(name, in.where("read error"));
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace

int runEcef(int argc, char** argv) { return run(Direction::kToEcef, argc, argv); }
int runGeodetic(int argc, char** argv) { return run(Direction::kToGeodetic, argc, argv); }

}  // namespace cli
