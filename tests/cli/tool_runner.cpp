#include "tool_runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

std::string quoted(const std::string& path) {
    std::string q = "'";
    for (char c : path) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

ToolResult ToolRunner::run(const std::string& args, const std::string& input) const {
    const std::string in = dir_.file("stdin.txt");
    const std::string err = dir_.file("stderr.txt");
    testing_support::writeBytes(in, input);
    const std::string command = "cd " + quoted(dir_.path()) + " && env -u APPDATA XDG_CONFIG_HOME=" +
                                quoted(dir_.file("config")) + " HOME=" + quoted(dir_.path()) + " " +
                                quoted(QUILLON_TOOL_PATH) + " " + args + " < " + quoted(in) + " 2> " + quoted(err);
    ToolResult r;
    int status = -1;
    r.out = shell(command, &status);
    r.status = status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = testing_support::readBytes(err);
    return r;
}

ToolResult ToolRunner::runOk(const std::string& args, const std::string& input) const {
    ToolResult r = run(args, input);
    EXPECT_EQ(r.status, 0) << describe(args, r);
    return r;
}

bool have(const char* program) {
    return std::system(("command -v " + std::string(program) + " > /dev/null 2>&1").c_str()) == 0;
}

std::string shell(const std::string& command, int* status) {
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        const int closed = pclose(pipe);
        if (status != nullptr) *status = closed;
    }
    return out;
}

int lineCount(const std::string& text) {
    int n = 0;
    for (char c : text) n += c == '\n';
    return n;
}

std::string summaryValue(const std::string& out, const std::string& label) {
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, label.size(), label) != 0 || line.size() <= label.size() || line[label.size()] != ' ')
            continue;
        const std::size_t start = line.find_first_not_of(' ', label.size());
        return start == std::string::npos ? "" : line.substr(start);
    }
    return "(no line '" + label + "')";
}

std::string describe(const std::string& args, const ToolResult& r) {
    return "quillon " + args + "\n  exit status: " + std::to_string(r.status) + "\n  stdout:\n" +
           r.out.substr(0, 3000) + "\n  stderr:\n" + r.err.substr(0, 3000);
}

std::string sentence(const std::string& body, bool lowercase) {
    unsigned x = 0;
    for (char c : body) x ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, lowercase ? "*%02x" : "*%02X", x);
    return "$" + body + tail;
}
