// quillon median: the median of the numbers of a file.
#include <quillon/cpp/estimation.hpp>

#include <vector>

#include "command_line.h"
#include "commands.h"
#include "number_table.h"
#include "output.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon median [OPTIONS] [FILE|-]\n"
    "\n"
    "Writes the median of the numbers of FILE (default: standard input):\n"
    "every number on every line, or one column of it. Numbers are separated\n"
    "by blanks, tabs, commas or semicolons; lines starting with '#' are\n"
    "skipped.\n";

}  // namespace

int runMedian(int argc, char** argv) {
    std::optional<int> columnGiven;
    bool json = false;
    CommandLine args("median", kHelp,
                     {Option::whole("column", "N", 1, INT_MAX, "use only the N-th number of each line (1 = first)",
                                    &columnGiven)
                          .saying("a number from 1"),
                      Option::flag("json", "{\"count\":N,\"median\":M}", &json)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().size() > 1) return args.usageError("takes one file");
    const int column = columnGiven.value_or(0);  // 0: every number
    std::vector<NumberRow> rows;
    std::string source;
    if (!readNumberTable("median", args.positionals().empty() ? "-" : args.positionals()[0], &rows, &source))
        return kBadInput;
    std::vector<double> values;
    for (const NumberRow& row : rows) {
        if (column == 0) {
            values.insert(values.end(), row.values.begin(), row.values.end());
        } else if (std::size_t(column) <= row.values.size()) {
            values.push_back(row.values[std::size_t(column) - 1]);
        } else {
            return inputError("median", source + ":" + std::to_string(row.line) + ": no column " +
                                            std::to_string(column));
        }
    }
    if (values.empty()) return inputError("median", source + ": no numbers");
    const double median = quillon::sort_and_median(values.data(), values.size());
    Output o(stdout);
    if (json)
        o.text("{\"count\":").integer(static_cast<long long>(values.size())).text(",\"median\":").jsonShortest(median).text("}\n");
    else
        o.shortest(median).newline();
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
