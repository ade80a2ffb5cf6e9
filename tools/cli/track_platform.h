// What the track command needs from the operating system for live input and
// for files written whole: one implementation per platform in
// platform/<name>/track_io.cpp.
#ifndef QUILLON_CLI_TRACK_PLATFORM_H
#define QUILLON_CLI_TRACK_PLATFORM_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

// Whether the stream reads a regular file (not a pipe, terminal or device).
bool isRegularStream(std::FILE* stream);
// Whether the path names a terminal device (a serial port, a pty): read
// live, and its end is the device gone.
bool isTerminalPath(const std::string& path);
// Sets a terminal device up for a receiver: raw bytes, no echo, the given
// speed in bits per second. "" when done, else why not.
std::string setUpSerial(std::FILE* stream, int baud);
// Reads what is there, waiting for at least one byte: 0 at the end of the
// input or when interrupted (see interrupted()), -1 on an error.
long long readSome(std::FILE* stream, char* buffer, std::size_t size);
// Waits a moment before looking again at a file that is growing.
void pauseBriefly();
// From now on an interrupt (Ctrl-C) ends the reading instead of the
// program, so that the summary is still written.
void catchInterrupt();
bool interrupted();
// Renames from over to, replacing it in one step where the system can.
bool replaceFile(const std::string& from, const std::string& to);

}  // namespace cli

#endif
