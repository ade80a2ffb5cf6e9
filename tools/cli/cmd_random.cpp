// quillon random N: standard normal deviates from the library's generator.
#include <quillon/cpp/numerics.hpp>

#include <cmath>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon random [OPTIONS] N\n"
    "\n"
    "Writes N standard normal deviates (mean 0, standard deviation 1), one\n"
    "per line. The same seed always gives the same sequence.\n";

}  // namespace

int runRandom(int argc, char** argv) {
    std::optional<int> seed;
    std::optional<double> mean;
    std::optional<double> sigma;
    CommandLine args("random", kHelp,
                     {Option::whole("seed", "S", 1, INT_MAX, "a whole number from 1 (default 1)", &seed),
                      Option::number("mean", "M", "shift every deviate by M", &mean),
                      Option::number("sigma", "S", "scale every deviate by S", &sigma)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().size() != 1) return args.usageError("needs the count N");
    int count = 0;
    if (!parseInt(args.positionals()[0], &count) || count < 0)
        return args.usageError("N is a whole number from 0, not '" + args.positionals()[0] + "'");
    quillon::NormalGenerator generator(seed.value_or(1));
    Output o(stdout);
    for (int i = 0; i < count; ++i) {
        const double value = mean.value_or(0.0) + sigma.value_or(1.0) * generator.next();
        if (!std::isfinite(value)) {
            o.flush();
            return inputError("random",
                              "deviate " + std::to_string(i + 1) + " overflows: --mean or --sigma is too large");
        }
        o.fixed(value, 12).newline();
    }
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
