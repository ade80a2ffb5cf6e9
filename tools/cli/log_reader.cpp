#include "log_reader.h"

#include <cstring>

#include "tool_platform.h"
#include "track_platform.h"

namespace cli {

LogReader::LogReader(std::size_t bufferSize)
    : capacity_(bufferSize > 0 ? bufferSize : 1), buffer_(new char[capacity_]) {}

LogReader::~LogReader() {
    if (ownsFile_) std::fclose(file_);
    delete[] buffer_;
}

bool LogReader::open(const std::string& path) {
    if (path == "-") {
        setBinaryMode(stdin);
        return open(stdin);
    }
    if (isDirectory(path)) return false;
    std::FILE* file = openFile(path, "rb");
    if (file == nullptr) return false;
    open(file);
    ownsFile_ = true;
    return true;
}

bool LogReader::open(std::FILE* stream) {
    file_ = stream;
    // The reader's own buffer is the only one: no copy through stdio's.
    if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
    return file_ != nullptr;
}

bool LogReader::failed() const { return readFailed_ || (file_ != nullptr && std::ferror(file_) != 0); }

void LogReader::setLive(bool follow) {
    live_ = true;
    follow_ = follow;
}

bool LogReader::fill() {
    if (atEnd_) return false;
    std::size_t n = 0;
    if (live_) {
        for (;;) {
            const long long got = readSome(file_, buffer_ + end_, capacity_ - end_);
            if (got < 0) readFailed_ = true;
            if (got == 0 && follow_ && !interrupted()) {
                pauseBriefly();
                continue;
            }
            n = got > 0 ? std::size_t(got) : 0;
            break;
        }
    } else {
        n = std::fread(buffer_ + end_, 1, capacity_ - end_, file_);
    }
    if (n == 0) {
        atEnd_ = true;
        return false;
    }
    end_ += n;
    bytesRead_ += static_cast<long long>(n);
    return true;
}

void LogReader::skipRestOfLine() {
    for (;;) {
        begin_ = end_ = 0;
        if (!fill()) return;
        const void* nl = std::memchr(buffer_, '\n', end_);
        if (nl != nullptr) {
            begin_ = std::size_t(static_cast<const char*>(nl) - buffer_) + 1;
            return;
        }
    }
}

bool LogReader::next(const char** line, std::size_t* length, bool* overlong) {
    *overlong = false;
    std::size_t searched = begin_;
    for (;;) {
        const void* nl = std::memchr(buffer_ + searched, '\n', end_ - searched);
        if (nl != nullptr) {
            const std::size_t at = std::size_t(static_cast<const char*>(nl) - buffer_);
            *line = buffer_ + begin_;
            *length = at - begin_;
            begin_ = at + 1;
            ++lineNumber_;
            return true;
        }
        if (atEnd_) {
            if (begin_ == end_) return false;
            *line = buffer_ + begin_;
            *length = end_ - begin_;
            begin_ = end_;
            ++lineNumber_;
            return true;
        }
        // Keep the unfinished line and read on behind it.
        if (begin_ > 0) {
            std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        if (end_ == capacity_) {
            skipRestOfLine();
            *line = buffer_ + begin_;
            *length = 0;
            *overlong = true;
            ++lineNumber_;
            return true;
        }
        searched = end_;
        fill();
    }
}

}  // namespace cli
