// POSIX: terminals through isatty, settings under the XDG base directory.
#include <unistd.h>

#include <cstdlib>

#include "tool_platform.h"

namespace cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) { return {argv, argv + argc}; }

std::FILE* openFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

void setBinaryMode(std::FILE*) {}

std::string configDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') return std::string(xdg) + "/quillon";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config/quillon";
    return std::string();
}

}  // namespace cli
