// Runs the built quillon tool as a user would, in a scratch folder with its
// own configuration folder, and captures its exit status and output.
#ifndef QUILLON_TESTS_CLI_TOOL_RUNNER_H
#define QUILLON_TESTS_CLI_TOOL_RUNNER_H

#include <string>

#include "test_support.h"

struct ToolResult {
    int status = -1;
    std::string out;
    std::string err;
};

class ToolRunner {
public:
    // args is shell text ("track --csv 'a b.nmea'"); input, when given, is
    // fed on standard input.
    ToolResult run(const std::string& args, const std::string& input = std::string()) const;
    // run, and a test failure unless the exit status is 0.
    ToolResult runOk(const std::string& args, const std::string& input = std::string()) const;
    // A file in the scratch folder.
    std::string file(const std::string& name) const { return dir_.file(name); }
    // The default settings file the tool creates.
    std::string defaultSettings() const { return dir_.file("config/quillon/quillon.ini"); }

private:
    testing_support::TempDir dir_;
};

// Quotes a path for the shell.
std::string quoted(const std::string& path);
// Number of lines of the text.
int lineCount(const std::string& text);
// The value after the label of a summary line ("fixes   122" -> "122").
std::string summaryValue(const std::string& out, const std::string& label);
// Whether the program is on the PATH.
bool have(const char* program);
// Standard output of a shell command, and its wait status when asked for.
std::string shell(const std::string& command, int* status = nullptr);
// Everything printed, for failure messages.
std::string describe(const std::string& args, const ToolResult& r);
// "$" body "*hh" with the checksum of the body, in lowercase on request.
std::string sentence(const std::string& body, bool lowercase = false);
// The real log bundled with the project.
const std::string kBundledLog = std::string(QUILLON_EXAMPLES_DIR) + "/nmea-rtk.nmea";

#endif
