// The subcommands of the tool. Each takes argv with argv[0] = its name and
// returns the exit status (kSuccess, kBadInput or kBadUsage).
#ifndef QUILLON_CLI_COMMANDS_H
#define QUILLON_CLI_COMMANDS_H

namespace cli {

struct Command {
    const char* name;
    const char* summary;  // one line for the tool's --help
    int (*run)(int argc, char** argv);
};

int runTrack(int argc, char** argv);
int runUnits(int argc, char** argv);
int runDist(int argc, char** argv);
int runAngle(int argc, char** argv);
int runTime(int argc, char** argv);
int runEcef(int argc, char** argv);
int runGeodetic(int argc, char** argv);
int runMedian(int argc, char** argv);
int runFit(int argc, char** argv);
int runInvert(int argc, char** argv);
int runRandom(int argc, char** argv);
int runSolve(int argc, char** argv);

}  // namespace cli

#endif
