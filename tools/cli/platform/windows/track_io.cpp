// Windows: live input through the C runtime; serial devices are read as
// they are set up (mode COMn: BAUD=...), for lack of termios.
#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>

#include "tool_platform.h"
#include "track_platform.h"

namespace cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) { gInterrupted = 1; }

std::wstring wide(const std::string& s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n > 0 ? std::size_t(n) : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], n);
    return w;
}

}  // namespace

bool isRegularStream(std::FILE* stream) {
    struct _stat64 st;
    return _fstat64(_fileno(stream), &st) == 0 && (st.st_mode & _S_IFREG) != 0;
}

bool isTerminalPath(const std::string& path) {
    return path.rfind("COM", 0) == 0 || path.rfind("\\\\.\\COM", 0) == 0;
}

std::string setUpSerial(std::FILE*, int) {
    return "--baud is not supported on Windows: set the port up with 'mode COMn: BAUD=...' and read it";
}

long long readSome(std::FILE* stream, char* buffer, std::size_t size) {
    if (gInterrupted) return 0;
    const int n = _read(_fileno(stream), buffer, unsigned(size > 0x40000000 ? 0x40000000 : size));
    if (n < 0) return gInterrupted ? 0 : -1;
    return n;
}

void pauseBriefly() { Sleep(200); }

void catchInterrupt() {
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

bool interrupted() { return gInterrupted != 0; }

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExW(wide(from).c_str(), wide(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

}  // namespace cli
