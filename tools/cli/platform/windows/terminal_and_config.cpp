// Windows: wide command line and file names, terminals through the C
// runtime, settings under %APPDATA%.
#include <windows.h>   // before shellapi.h, which needs its types
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include <quillon/cpp/text.hpp>

#include <cstdlib>

#include "tool_platform.h"

namespace cli {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(quillon::to_utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

std::FILE* openFile(const std::string& path, const char* mode) {
    return _wfopen(quillon::to_wide(path).c_str(), quillon::to_wide(mode).c_str());
}

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

void setBinaryMode(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

std::string configDirectory() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData != nullptr && appData[0] != L'\0') return quillon::to_utf8(appData) + "\\quillon";
    return std::string();
}

}  // namespace cli
