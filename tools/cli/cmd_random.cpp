// quillon random N: standard normal deviates from the library's generator.
#include <quillon/numerics.h>

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
    "per line. The same seed always gives the same sequence.\n"
    "\n"
    "options:\n"
    "  --seed S     a whole number from 1 (default 1)\n"
    "  --mean M     shift every deviate by M\n"
    "  --sigma S    scale every deviate by S\n";

}  // namespace

int runRandom(int argc, char** argv) {
    CommandLine args("random", argc, argv, 1, {{"seed", true}, {"mean", true}, {"sigma", true}});
    if (!args.ok()) return usageError("random", args.error());
    if (args.wantsHelp()) return printHelp(kHelp);
    if (args.positionals().size() != 1) return usageError("random", "needs the count N");
    int count = 0;
    if (!parseInt(args.positionals()[0], &count) || count < 0)
        return usageError("random", "N is a whole number from 0, not '" + args.positionals()[0] + "'");
    int seed = 1;
    if (args.has("seed") && (!parseInt(args.value("seed"), &seed) || seed < 1))
        return usageError("random", "--seed takes a whole number from 1, not '" + args.value("seed") + "'");
    double mean = 0.0, sigma = 1.0;
    if (args.has("mean") && !parseDouble(args.value("mean"), &mean))
        return usageError("random", "--mean takes a number, not '" + args.value("mean") + "'");
    if (args.has("sigma") && !parseDouble(args.value("sigma"), &sigma))
        return usageError("random", "--sigma takes a number, not '" + args.value("sigma") + "'");
    // A negative seed restarts the generator.
    int state = -seed;
    Output o(stdout);
    for (int i = 0; i < count; ++i) o.fixed(mean + sigma * gasdev(&state), 12).newline();
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
