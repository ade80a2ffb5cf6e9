// What the tool needs from the operating system beyond standard C++: one
// implementation per platform in platform/<name>/.
#ifndef QUILLON_CLI_TOOL_PLATFORM_H
#define QUILLON_CLI_TOOL_PLATFORM_H

#include <cstdio>
#include <string>
#include <vector>

namespace cli {

// The program's arguments in UTF-8, as every text in the tool is: argv as it
// is on POSIX systems; on Windows the wide command line, since argv there
// holds only what the code page can spell.
std::vector<std::string> utf8Arguments(int argc, char** argv);
// fopen for a path in UTF-8.
std::FILE* openFile(const std::string& path, const char* mode);

// Whether the stream is an interactive terminal (for the progress bar).
bool isTerminal(std::FILE* stream);
// Reads the stream's bytes unchanged (no line-end translation).
void setBinaryMode(std::FILE* stream);
// The folder of the user's settings for the tool: $XDG_CONFIG_HOME/quillon
// or ~/.config/quillon on POSIX systems, %APPDATA%\quillon on Windows; ""
// when the environment names none. In UTF-8.
std::string configDirectory();

// Portable helpers on top of std::filesystem, never throwing.
bool isDirectory(const std::string& path);
bool fileExists(const std::string& path);
// The size in bytes of a regular file, or -1.
long long regularFileSize(const std::string& path);
bool makeDirectories(const std::string& path);

}  // namespace cli

#endif
