// quillon: the library's survey, geodetic and numeric utilities on the
// command line, one subcommand per job.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "tool_platform.h"

namespace {

const cli::Command kCommands[] = {
    {"track", "decode an NMEA 0183 log into position fixes and a summary", cli::runTrack},
    {"units", "show or change the units settings file", cli::runUnits},
    {"dist", "read typed lengths and write them in every unit", cli::runDist},
    {"angle", "read typed angles and write them in every style", cli::runAngle},
    {"time", "one instant as UTC, GPS time, Unix time, Julian dates and GPS week", cli::runTime},
    {"ecef", "geodetic latitude, longitude, height to earth-centred X, Y, Z", cli::runEcef},
    {"geodetic", "earth-centred X, Y, Z to latitude, longitude, height", cli::runGeodetic},
    {"median", "the median of a column of numbers", cli::runMedian},
    {"fit", "robust straight-line fit of two columns of a file", cli::runFit},
    {"invert", "invert a square matrix read from a file", cli::runInvert},
    {"random", "standard normal random deviates", cli::runRandom},
    {"solve", "estimate a reference position from station observations", cli::runSolve},
};

const char kToolHelp[] =
    "usage: quillon COMMAND [OPTIONS] [ARGUMENTS]\n"
    "       quillon --version\n"
    "\n"
    "Survey, geodetic and numeric utilities of the quillon library.\n"
    "\n"
    "commands:\n";

const char kToolHelpEnd[] =
    "\n"
    "Every command takes --help, and --units FILE to use that units settings\n"
    "file instead of quillon.ini in the user's configuration folder.\n"
    "Files named '-' are read from standard input.\n"
    "Exit status: 0 success, 1 bad input, 2 bad usage.\n";

int toolHelp(std::FILE* stream) {
    std::fputs(kToolHelp, stream);
    for (const cli::Command& c : kCommands) std::fprintf(stream, "  %-10s %s\n", c.name, c.summary);
    std::fputs(kToolHelpEnd, stream);
    return cli::kSuccess;
}

int dispatch(int argc, char** argv) {
    if (argc < 2) {
        toolHelp(stderr);
        return cli::kBadUsage;
    }
    const char* name = argv[1];
    if (std::strcmp(name, "--help") == 0 || std::strcmp(name, "-h") == 0) return toolHelp(stdout);
    if (std::strcmp(name, "--version") == 0) {
        std::puts("quillon " QUILLON_TOOL_VERSION);
        return cli::kSuccess;
    }
    if (std::strcmp(name, "help") == 0) {
        if (argc < 3) return toolHelp(stdout);
        name = argv[2];
        for (const cli::Command& c : kCommands) {
            if (std::strcmp(c.name, name) == 0) {
                char help[] = "--help";
                char* helpArgv[] = {argv[2], help, nullptr};
                return c.run(2, helpArgv);
            }
        }
    } else {
        for (const cli::Command& c : kCommands)
            if (std::strcmp(c.name, name) == 0) return c.run(argc - 1, argv + 1);
    }
    std::fprintf(stderr, "quillon: unknown command '%s' (see 'quillon --help')\n", name);
    return cli::kBadUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments = cli::utf8Arguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return dispatch(static_cast<int>(arguments.size()), pointers.data());
}
