// quillon median: the median of the numbers of a file.
#include <quillon/cpp/estimation.hpp>

#include <charconv>
#include <cmath>
#include <string>
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

// The median as text. When it is one of the numbers read (an odd count, or
// two equal middle ones) its shortest text, which reads back as that
// number. Otherwise it is the mean of the two middle ones, which carries
// one rounding (up to one unit in the last place): the fewest significant
// digits that read back within it, so that 0.1 and 0.2 give 0.15 rather
// than 0.15000000000000002.
std::string medianText(const std::vector<double>& sorted, double median) {
    const std::size_t n = sorted.size();
    if (n % 2 == 1 || sorted[n / 2 - 1] == sorted[n / 2]) return shortestText(median);
    const double ulp = std::nextafter(std::fabs(median), HUGE_VAL) - std::fabs(median);
    for (int digits = 1;; ++digits) {
        const std::string text = generalText(median, digits);
        double back = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        if (std::fabs(back - median) <= ulp || digits == 17) return text;
    }
}

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
    double median = quillon::sort_and_median(values.data(), values.size());
    // The library's (low + high) * 0.5 overflows for two middle numbers
    // beyond half the double range; halved first they do not.
    if (!std::isfinite(median)) median = values[values.size() / 2 - 1] * 0.5 + values[values.size() / 2] * 0.5;
    const std::string text = medianText(values, median);
    Output o(stdout);
    if (json)
        o.text("{\"count\":").integer(static_cast<long long>(values.size())).text(",\"median\":").text(text).text(
            "}\n");
    else
        o.text(text).newline();
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
