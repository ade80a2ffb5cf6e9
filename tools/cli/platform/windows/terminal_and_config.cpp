// Windows: terminals through the C runtime, settings under %APPDATA%.
#include <fcntl.h>
#include <io.h>

#include <cstdlib>

#include "tool_platform.h"

namespace cli {

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

void setBinaryMode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

std::string configDirectory() {
    const char* appData = std::getenv("APPDATA");
    if (appData != nullptr && appData[0] != '\0') return std::string(appData) + "\\quillon";
    return std::string();
}

}  // namespace cli
