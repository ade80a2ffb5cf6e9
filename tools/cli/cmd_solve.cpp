// quillon solve OBS: a reference position from observations of stations.
#include <quillon/cpp/estimation.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"
#include "text_input.h"

namespace cli {

namespace {

using quillon::ObservationKind;

const char kHelp[] =
    "usage: quillon solve [OPTIONS] OBS|-\n"
    "\n"
    "Estimates the position of a reference point from a file of known\n"
    "stations and observations made by a sensor mounted at an offset on a\n"
    "platform (iterated weighted least squares), then writes the position\n"
    "and each observation's residual (computed minus observed) there.\n"
    "The file format is in docs/observations.md; in short:\n"
    "  station NAME EASTING NORTHING HEIGHT\n"
    "  range STATION VALUE SIGMA          slope range from a station\n"
    "  rangediff STATION1 STATION2 VALUE SIGMA\n"
    "                                     horizontal range to STATION2\n"
    "                                     minus that to STATION1\n"
    "  bearing STATION VALUE SIGMA        degrees clockwise from north\n"
    "  northing|easting|height VALUE SIGMA\n"
    "  originrange|originbearing VALUE SIGMA\n"
    "  start EASTING NORTHING HEIGHT      starting estimate (optional)\n";

struct KindInfo {
    const char* name;
    ObservationKind kind;
    int stations;  // station names before the value
};

const KindInfo kKinds[] = {
    {"range", ObservationKind::slope_range, 1},
    {"rangediff", ObservationKind::range_difference, 2},
    {"northing", ObservationKind::northing, 0},
    {"easting", ObservationKind::easting, 0},
    {"originrange", ObservationKind::origin_range, 0},
    {"originbearing", ObservationKind::origin_bearing, 0},
    {"bearing", ObservationKind::bearing, 1},
    {"height", ObservationKind::height, 0},
};

const KindInfo& kindOf(ObservationKind kind) {
    for (const KindInfo& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];  // every observation read has one of the kinds
}

struct Problem {
    std::vector<quillon::Station> stations;
    std::vector<std::string> stationNames;
    std::vector<quillon::Observation> observations;
    std::vector<long> lines;
    bool hasStart = false;
    double start[3] = {0.0, 0.0, 0.0};
};

int stationIndex(const Problem& p, const std::string& name) {
    for (std::size_t i = 0; i < p.stationNames.size(); ++i)
        if (p.stationNames[i] == name) return int(i);
    return -1;
}

// Reads the file; one error line naming the file and line on failure.
bool readProblem(const std::string& path, Problem* p) {
    TextInput in;
    if (!in.open(path)) {
        inputError("solve", openFailureReason(path));
        return false;
    }
    std::string line;
    bool tooLong = false;
    auto fail = [&in](const std::string& message) {
        inputError("solve", in.where(message));
        return false;
    };
    auto numbersFrom = [](const std::vector<std::string>& f, std::size_t first, double* out, std::size_t count,
                          std::string* bad) {
        for (std::size_t i = 0; i < count; ++i)
            if (!parseDouble(f[first + i], &out[i])) {
                *bad = "'" + f[first + i] + "' is not a number";
                return false;
            }
        return true;
    };
    while (in.next(&line, &tooLong)) {
        if (tooLong) return fail("line too long");
        const std::size_t hash = line.find('#');
        const auto f = splitFields(hash == std::string::npos ? line : line.substr(0, hash));
        if (f.empty()) continue;
        std::string bad;
        if (f[0] == "station") {
            if (f.size() != 5) return fail("a station line is: station NAME EASTING NORTHING HEIGHT");
            if (f[1].size() > 24) return fail("station name '" + f[1] + "' is longer than 24 characters");
            if (stationIndex(*p, f[1]) >= 0) return fail("station '" + f[1] + "' is defined twice");
            double v[3];
            if (!numbersFrom(f, 2, v, 3, &bad)) return fail(bad);
            p->stations.push_back({v[0], v[1], v[2]});
            p->stationNames.push_back(f[1]);
            continue;
        }
        if (f[0] == "start") {
            if (f.size() != 4) return fail("a start line is: start EASTING NORTHING HEIGHT");
            if (!numbersFrom(f, 1, p->start, 3, &bad)) return fail(bad);
            p->hasStart = true;
            continue;
        }
        const KindInfo* kind = nullptr;
        for (const KindInfo& k : kKinds)
            if (f[0] == k.name) kind = &k;
        if (kind == nullptr) return fail("unknown line kind '" + f[0] + "'");
        const std::size_t wanted = 1 + std::size_t(kind->stations) + 2;
        if (f.size() != wanted)
            return fail(std::string("a ") + kind->name + " line has " + std::to_string(wanted - 1) +
                        " fields: " + (kind->stations == 2 ? "STATION1 STATION2 " : kind->stations == 1 ? "STATION " : "") +
                        "VALUE SIGMA");
        quillon::Observation ob;
        ob.kind = kind->kind;
        for (int s = 0; s < kind->stations; ++s) {
            const std::string& name = f[1 + std::size_t(s)];
            const int index = stationIndex(*p, name);
            if (index < 0) return fail("unknown station '" + name + "' (define it above with a station line)");
            (s == 0 ? ob.station : ob.other_station) = std::size_t(index);
        }
        double v[2];
        if (!numbersFrom(f, 1 + std::size_t(kind->stations), v, 2, &bad)) return fail(bad);
        if (v[1] < 0.0) return fail("a sigma cannot be negative");
        ob.value = v[0];
        ob.sigma = v[1];
        p->observations.push_back(ob);
        p->lines.push_back(in.lineNumber());
    }
    if (in.failed()) return fail("read error");
    return true;
}

// Repeated estimations end when the position moves less than this.
constexpr double kSettled = 1e-6;
constexpr int kMaxEstimations = 50;

// v rounded to 4 decimals, with -0.0000 written as 0.0000.
double tidy(double v) { return std::round(v * 1e4) / 1e4 + 0.0; }

using Triple = std::array<double, 3>;

// Why the estimator found no position, for the error line.
std::string whyUnsolved(const quillon::Error& error) {
    switch (error.code) {
    case quillon::Errc::singular: return "the observations leave the position undetermined";
    case quillon::Errc::not_converged: return "the estimate did not converge in 10 iterations";
    case quillon::Errc::out_of_range: return "the estimate runs away: a correction exceeds 100000 units";
    case quillon::Errc::not_finite:
        return "the numbers overflow, or the sensor falls on a station or on the origin, where ranges and "
               "bearings have no direction";
    default: return error.message;
    }
}

// What the repeated estimation gives: the last solution and how many
// estimations it took.
struct Estimate {
    quillon::PositionSolution solution;
    int estimations = 0;
};

// The estimator stops once a correction of easting and northing falls below
// one unit, and its test ignores the height. Unless once is set, the
// estimation is repeated from its own result until the position settles, so
// that a solved height converges as well. A repetition that fails leaves
// the result before it.
quillon::Result<Estimate> estimate(const Problem& p, const quillon::Platform& platform, quillon::Position start,
                                   int dims, bool once) {
    const quillon::Station* stations = p.stations.empty() ? nullptr : p.stations.data();
    Estimate e;
    for (;;) {
        const quillon::Result<quillon::PositionSolution> solution = quillon::solve_position(
            stations, p.stations.size(), p.observations.data(), p.observations.size(), platform, start, dims);
        ++e.estimations;
        if (!solution) {
            if (e.estimations > 1) return e;
            return solution.error();
        }
        const quillon::Position& next = solution->position;
        const double change = std::fabs(next.easting - start.easting) + std::fabs(next.northing - start.northing) +
                              std::fabs(next.height - start.height);
        e.solution = *solution;
        start = next;
        if (once || change < kSettled || e.estimations == kMaxEstimations) return e;
    }
}

// Sum of the squared residuals over their sigmas at a position: what the
// estimator minimises.
double misfit(const Problem& p, const quillon::Platform& platform, const quillon::Position& at) {
    double sum = 0.0;
    for (const quillon::Observation& ob : p.observations) {
        if (ob.sigma == 0.0) continue;
        const double w =
            quillon::observation_residual(ob, p.stations.data(), p.stations.size(), platform, at) / ob.sigma;
        sum += w * w;
    }
    return sum;
}

// Without a start, the estimation starts at the stations' mean. Where that
// fails (the mean of two stations lies on their baseline, where bearings
// and ranges from them tell nothing across it), it starts from eight points
// on a circle around the mean as wide as the stations' spread, and keeps
// the solution that fits best; two different ones that fit equally well
// (the two intersections of two ranges) are an error that says so.
quillon::Result<Estimate> estimateWithoutStart(const Problem& p, const quillon::Platform& platform, int dims,
                                               bool once) {
    quillon::Position mean;
    for (const quillon::Station& s : p.stations) {
        mean.easting += s.easting / double(p.stations.size());
        mean.northing += s.northing / double(p.stations.size());
        mean.height += s.height / double(p.stations.size());
    }
    const quillon::Result<Estimate> fromMean = estimate(p, platform, mean, dims, once);
    if (fromMean) return fromMean;
    double radius = 0.0;
    for (const quillon::Station& s : p.stations)
        radius = std::max(radius, std::hypot(s.easting - mean.easting, s.northing - mean.northing));
    if (radius == 0.0) radius = 100.0;
    std::vector<Estimate> found;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * 0.7853981633974483;  // 45 degrees
        const quillon::Position start{mean.easting + radius * std::sin(angle), mean.northing + radius * std::cos(angle),
                                      mean.height};
        if (const quillon::Result<Estimate> e = estimate(p, platform, start, dims, once)) found.push_back(*e);
    }
    if (found.empty()) return fromMean;
    std::vector<double> fits;
    for (const Estimate& e : found) fits.push_back(misfit(p, platform, e.solution.position));
    const std::size_t best = std::size_t(std::min_element(fits.begin(), fits.end()) - fits.begin());
    const quillon::Position& a = found[best].solution.position;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const quillon::Position& b = found[i].solution.position;
        const bool distinct = std::fabs(a.easting - b.easting) + std::fabs(a.northing - b.northing) > 1e-3;
        if (distinct && fits[i] <= fits[best] * (1.0 + 1e-6) + 1e-12)
            return quillon::make_error(quillon::Errc::invalid_argument,
                                       "two positions fit the observations equally well, easting " +
                                           fixedText(a.easting, 4) + " northing " + fixedText(a.northing, 4) +
                                           " and easting " + fixedText(b.easting, 4) + " northing " +
                                           fixedText(b.northing, 4) + "; give --start near the one you mean");
    }
    return found[best];
}

// --name A,B,C: three numbers ("1.5,2,-3").
Option tripleOption(const char* name, const char* placeholder, const char* takes, const char* help,
                    std::optional<Triple>* value) {
    return Option(name, placeholder, takes, help, [value](const std::string& text) {
        const auto f = splitFields(text);
        Triple t{};
        if (f.size() != 3) return false;
        for (std::size_t i = 0; i < 3; ++i)
            if (!parseDouble(f[i], &t[i])) return false;
        *value = t;
        return true;
    });
}

}  // namespace

int runSolve(int argc, char** argv) {
    std::optional<double> heading, pitch, roll;
    std::optional<Triple> offsetGiven, startGiven;
    std::optional<int> dimsGiven;
    bool once = false;
    bool json = false;
    CommandLine args(
        "solve", kHelp,
        {Option::number("heading", "DEG", "platform heading, clockwise from north (default 0)", &heading)
             .saying("degrees"),
         Option::number("pitch", "DEG", "platform pitch (default 0)", &pitch).saying("degrees"),
         Option::number("roll", "DEG", "platform roll (default 0)", &roll).saying("degrees"),
         tripleOption("offset", "R,F,U", "RIGHT,FORWARD,UP",
                      "sensor offset from the reference point: right, forward, up (default 0,0,0)", &offsetGiven),
         Option::whole("dims", "2|3", 2, 3,
                       "solve easting and northing (2, the height held at its start), or all three (3); default 2",
                       &dimsGiven)
             .saying("2 or 3"),
         tripleOption("start", "E,N,H", "EASTING,NORTHING,HEIGHT",
                      "starting estimate (default: the file's 'start' line, else the mean of the stations, and "
                      "where that fails eight points around it)",
                      &startGiven),
         Option::flag("once",
                      "one estimation only: the estimator stops when the horizontal correction falls below 1 "
                      "unit; by default it is repeated from its result until the position settles (to 1e-6), "
                      "which also settles the height",
                      &once),
         Option::flag("json", "one JSON object", &json)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().size() != 1) return args.usageError("needs one observations file, or '-'");
    quillon::Platform platform;
    platform.heading = heading.value_or(0.0);
    platform.pitch = pitch.value_or(0.0);
    platform.roll = roll.value_or(0.0);
    if (offsetGiven) std::copy(offsetGiven->begin(), offsetGiven->end(), platform.offset);
    const int dims = dimsGiven.value_or(2);
    double start[3] = {0.0, 0.0, 0.0};
    if (startGiven) std::copy(startGiven->begin(), startGiven->end(), start);

    Problem p;
    if (!readProblem(args.positionals()[0], &p)) return kBadInput;
    const std::string source = args.positionals()[0] == "-" ? "<stdin>" : args.positionals()[0];
    if (p.observations.empty()) return inputError("solve", source + ": no observations");
    if (!startGiven && p.hasStart) std::copy(p.start, p.start + 3, start);
    const bool started = startGiven || p.hasStart;
    const quillon::Result<Estimate> result =
        started ? estimate(p, platform, {start[0], start[1], start[2]}, dims, once)
                : estimateWithoutStart(p, platform, dims, once);
    if (!result) {
        // invalid_argument: two positions (a file cannot name a station out of range).
        if (result.error().code == quillon::Errc::invalid_argument)
            return inputError("solve", source + ": no solution: " + result.error().message);
        return inputError("solve", source + ": no solution (" + whyUnsolved(result.error()) + ")" +
                                       (started ? "; try another --start E,N,H near the position"
                                                : "; give --start E,N,H near the position"));
    }
    const quillon::PositionSolution& solution = result->solution;
    const quillon::Position at = solution.position;
    const double x = at.easting, y = at.northing, z = at.height;
    const double* sd = solution.standard_deviation;
    const quillon::Station* stations = p.stations.empty() ? nullptr : p.stations.data();

    Output o(stdout);
    if (json) {
        o.text("{\"easting\":").jsonFixed(tidy(x), 4).text(",\"northing\":").jsonFixed(tidy(y), 4)
            .text(",\"height\":").jsonFixed(tidy(z), 4).text(",\"dims\":").integer(dims)
            .text(",\"estimations\":").integer(result->estimations);
        o.text(",\"sdEasting\":").jsonShortest(sd[0]).text(",\"sdNorthing\":").jsonShortest(sd[1]);
        o.text(",\"sdHeight\":").jsonShortest(sd[2]).text(",\"sigma0\":").jsonShortest(solution.sigma0);
        o.text(",\"redundancy\":").integer(solution.redundancy).text(",\"observations\":[");
    } else {
        // easting 300.0000  northing 400.0000  height 0.0000  (height held)
        // standard deviations  easting 0.00577  northing 0.00577  (from the sigmas given)
        // sigma0 1.2  (a posteriori, redundancy 1)
        o.text("easting ").fixed(tidy(x), 4).text("  northing ").fixed(tidy(y), 4).text("  height ").fixed(tidy(z), 4)
            .text(dims == 2 ? "  (height held)\n" : "\n");
        o.text("standard deviations  easting ").general(sd[0], 3).text("  northing ").general(sd[1], 3);
        if (dims == 3) o.text("  height ").general(sd[2], 3);
        o.text("  (from the sigmas given)\nsigma0 ");
        if (solution.redundancy > 0)
            o.general(solution.sigma0, 3).text("  (a posteriori, redundancy ").integer(solution.redundancy).text(")\n");
        else
            o.text("-  (no redundancy: nothing to check the sigmas by)\n");
        o.text("estimations ").integer(result->estimations).text("\n\n")
            .text("line  kind           stations     observed       computed       residual   sigma\n");
    }
    for (std::size_t i = 0; i < p.observations.size(); ++i) {
        const quillon::Observation& ob = p.observations[i];
        const double w = tidy(quillon::observation_residual(ob, stations, p.stations.size(), platform, at));
        const KindInfo& kind = kindOf(ob.kind);
        std::string names;
        if (kind.stations >= 1) names = p.stationNames[ob.station];
        if (kind.stations == 2) names += "," + p.stationNames[ob.other_station];
        if (json) {
            o.text(i > 0 ? "," : "").text("{\"line\":").integer(p.lines[i]).text(",\"kind\":").jsonString(kind.name);
            o.text(",\"stations\":").jsonString(names.c_str()).text(",\"observed\":").jsonShortest(ob.value);
            o.text(",\"computed\":").jsonFixed(ob.value + w, 4).text(",\"residual\":").jsonFixed(w, 4);
            o.text(",\"sigma\":").jsonShortest(ob.sigma).ch('}');
        } else {
            // 5     range          A            500.0000       500.0000       0.0000     0.01
            o.startColumn().integer(p.lines[i]).endColumn(6);
            o.column(kind.name, 15).column(names.empty() ? "-" : names.c_str(), 13);
            o.startColumn().fixed(ob.value, 4).endColumn(15);
            o.startColumn().fixed(ob.value + w, 4).endColumn(15);
            o.startColumn().fixed(w, 4).endColumn(11).shortest(ob.sigma).newline();
        }
    }
    if (json) o.text("]}\n");
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
