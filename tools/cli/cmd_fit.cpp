// quillon fit X Y: least-absolute-deviation line through two columns.
#include <quillon/cpp/estimation.hpp>

#include <optional>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "number_table.h"
#include "numbers.h"
#include "output.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon fit [OPTIONS] X Y [FILE|-]\n"
    "\n"
    "Fits a straight line y = a + b x through columns X and Y (numbers from 1)\n"
    "of FILE (default: standard input) by least absolute deviations (robust\n"
    "against outliers), and writes a, b and the mean absolute deviation.\n"
    "Lines starting with '#' are skipped.\n";

}  // namespace

int runFit(int argc, char** argv) {
    bool json = false;
    std::optional<int> methodIndex;
    CommandLine args(
        "fit", kHelp,
        {Option::choice("method",
                        {{"exact", "the line with the least sum of absolute deviations (default); when several "
                                   "lines share it, one of them, through two of the points"},
                         {"bisection", "the hosts' centTendFit: bisection of the slope from the least-squares "
                                       "line to 0.01 of its standard error; can stop above the least sum, and "
                                       "fails where its bracket never closes"}},
                        "", &methodIndex),
         Option::flag("json", "{\"points\":N,\"a\":A,\"b\":B,\"meanAbsDev\":D}", &json)});
    if (const auto status = args.parse(argc, argv)) return *status;
    const auto& p = args.positionals();
    if (p.size() < 2 || p.size() > 3) return args.usageError("needs the columns X and Y, then an optional file");
    int cx = 0, cy = 0;
    if (!parseInt(p[0], &cx) || !parseInt(p[1], &cy) || cx < 1 || cy < 1)
        return args.usageError("columns are numbers from 1, not '" + p[0] + "' '" + p[1] + "'");
    std::vector<NumberRow> rows;
    std::string source;
    if (!readNumberTable("fit", p.size() == 3 ? p[2] : "-", &rows, &source)) return kBadInput;
    std::vector<double> x, y;
    for (const NumberRow& row : rows) {
        if (row.values.size() < std::size_t(cx > cy ? cx : cy))
            return inputError("fit", source + ":" + std::to_string(row.line) + ": no column " +
                                         std::to_string(cx > cy ? cx : cy));
        x.push_back(row.values[std::size_t(cx) - 1]);
        y.push_back(row.values[std::size_t(cy) - 1]);
    }
    if (x.size() < 2) return inputError("fit", source + ": a line needs at least 2 points");
    if (x.size() > 100000000u) return inputError("fit", source + ": too many points");
    quillon::LineFit fit;
    const quillon::Result<quillon::Line> line = methodIndex.value_or(0) == 0
                                                    ? quillon::lad_fit(x.data(), y.data(), x.size())
                                                    : fit.fit(x.data(), y.data(), x.size());
    if (!line) {
        switch (line.error().code) {
        case quillon::Errc::singular:
            return inputError("fit", source + ": every x (column " + std::to_string(cx) +
                                         ") is the same: no slope can be told");
        case quillon::Errc::not_finite:
            return inputError("fit", source + ": the numbers are too large, or the x values too close together, "
                                              "for a fit");
        case quillon::Errc::not_converged:
            return inputError("fit", source + ": the bisection's bracket of the slope never closes on these "
                                              "points (the exact method, the default, has no bracket)");
        case quillon::Errc::no_memory: return inputError("fit", "not enough memory for the points");
        default: return inputError("fit", source + ": " + line.error().message);
        }
    }
    Output o(stdout);
    if (json) {
        o.text("{\"points\":").integer(static_cast<long long>(x.size())).text(",\"a\":").jsonShortest(line->a);
        o.text(",\"b\":").jsonShortest(line->b).text(",\"meanAbsDev\":").jsonShortest(line->mean_abs_dev).text("}\n");
    } else {
        o.column("points", 10).integer(static_cast<long long>(x.size())).newline();
        o.column("a", 10).general(line->a, 10).newline();
        o.column("b", 10).general(line->b, 10).newline();
        o.column("mean |d|", 10).general(line->mean_abs_dev, 10).newline();
    }
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
