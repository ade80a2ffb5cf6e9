// Windows: live input through the C runtime, serial ports through the
// communications functions.
#include <windows.h>

#include <io.h>
#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <string>

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

std::string setUpSerial(std::FILE* stream, int baud) {
    const HANDLE port = HANDLE(_get_osfhandle(_fileno(stream)));
    DCB dcb = {};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return "not a serial device";
    // 8N1, no flow control: what receivers send.
    dcb.BaudRate = DWORD(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    if (!SetCommState(port, &dcb)) return "cannot set the device to " + std::to_string(baud) + " bit/s";
    return "";
}

long long readSome(std::FILE* stream, char* buffer, std::size_t size) {
    const HANDLE handle = HANDLE(_get_osfhandle(_fileno(stream)));
    // A serial port's read waits, by default, until the whole buffer is
    // full. These timeouts make it return with what has come as soon as one
    // byte is there, or empty after a moment, which is no end of the input.
    COMMTIMEOUTS timeouts;
    const bool port = GetCommTimeouts(handle, &timeouts) != 0;
    if (port && (timeouts.ReadIntervalTimeout != MAXDWORD || timeouts.ReadTotalTimeoutMultiplier != MAXDWORD)) {
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = 200;
        if (!SetCommTimeouts(handle, &timeouts)) return -1;
    }
    for (;;) {
        if (gInterrupted) return 0;
        const int n = _read(_fileno(stream), buffer, unsigned(size > 0x40000000 ? 0x40000000 : size));
        if (n < 0) return gInterrupted ? 0 : -1;
        if (n > 0 || !port) return n;
    }
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
