// POSIX: termios for serial devices, read(2) for live input, rename(2).
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

#include "track_platform.h"

namespace cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) { gInterrupted = 1; }

speed_t speedOf(int baud) {
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
#ifdef B460800
    case 460800: return B460800;
#endif
#ifdef B921600
    case 921600: return B921600;
#endif
    }
    return B0;
}

}  // namespace

bool isRegularStream(std::FILE* stream) {
    struct stat st;
    return fstat(fileno(stream), &st) == 0 && S_ISREG(st.st_mode);
}

bool isTerminalPath(const std::string& path) {
    // Without waiting for a modem's carrier, and without becoming the
    // program's controlling terminal.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    const bool terminal = isatty(fd) == 1;
    close(fd);
    return terminal;
}

std::string setUpSerial(std::FILE* stream, int baud) {
    const int fd = fileno(stream);
    const speed_t speed = speedOf(baud);
    if (speed == B0) return "no serial speed of " + std::to_string(baud) + " bit/s";
    struct termios t;
    if (tcgetattr(fd, &t) != 0) return "not a serial device";
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (cfsetispeed(&t, speed) != 0 || cfsetospeed(&t, speed) != 0 || tcsetattr(fd, TCSANOW, &t) != 0)
        return "cannot set the device to " + std::to_string(baud) + " bit/s";
    return "";
}

long long readSome(std::FILE* stream, char* buffer, std::size_t size) {
    for (;;) {
        if (gInterrupted) return 0;
        const ssize_t n = read(fileno(stream), buffer, size);
        if (n >= 0) return n;
        if (errno == EINTR) {
            if (gInterrupted) return 0;
            continue;
        }
        if (errno == EAGAIN) {
            pauseBriefly();
            continue;
        }
        return -1;
    }
}

void pauseBriefly() {
    struct timespec t = {0, 200 * 1000 * 1000};
    nanosleep(&t, nullptr);
}

void catchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting for the receiver returns at once.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interrupted() { return gInterrupted != 0; }

bool replaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

}  // namespace cli
