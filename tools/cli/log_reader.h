// Streams the lines of a log of any size through one fixed buffer: memory
// stays flat, and a line that does not fit the buffer is skipped whole and
// reported as overlong rather than kept.
#ifndef QUILLON_CLI_LOG_READER_H
#define QUILLON_CLI_LOG_READER_H

#include <cstddef>
#include <cstdio>
#include <string>

namespace cli {

class LogReader {
public:
    static constexpr std::size_t kBufferSize = std::size_t(1) << 20;

    // A smaller buffer is for tests, which reach its edges with short logs.
    explicit LogReader(std::size_t bufferSize = kBufferSize);
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // Opens the path, or standard input for "-"; false when it cannot be read.
    bool open(const std::string& path);
    // Reads a stream already open, which stays open afterwards.
    bool open(std::FILE* stream);
    // The next line, split at "\n" (the "\n" not included; any "\r" stays).
    // A line that does not fit the buffer with its "\n" (a last line without
    // one counts as if it had it) comes back empty with *overlong set.
    // false at the end of the input.
    bool next(const char** line, std::size_t* length, bool* overlong);
    bool failed() const;
    // Live input (a pipe, a terminal, a receiver): each read takes what has
    // come, so lines are handed over as soon as they are complete; with
    // follow, the end of the input is waited at, as "tail -f" does, until
    // an interrupt.
    void setLive(bool follow);
    // The stream read, for setting a device up.
    std::FILE* stream() const { return file_; }
    long long bytesRead() const { return bytesRead_; }
    long long lineNumber() const { return lineNumber_; }

private:
    bool fill();
    void skipRestOfLine();

    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    std::size_t capacity_;  // before buffer_, which is sized from it
    char* buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool live_ = false;
    bool follow_ = false;
    bool readFailed_ = false;
    long long bytesRead_ = 0;
    long long lineNumber_ = 0;
};

}  // namespace cli

#endif
