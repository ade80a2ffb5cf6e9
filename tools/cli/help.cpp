#include <cstdio>

#include "command_line.h"
#include "commands.h"

namespace cli {

int printHelp(const char* text) {
    std::fputs(text, stdout);
    return kSuccess;
}

}  // namespace cli
