#include "text_input.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "tool_platform.h"

namespace cli {

TextInput::~TextInput() {
    if (ownsFile_) std::fclose(file_);
}

bool TextInput::open(const std::string& path) {
    if (path == "-") {
        file_ = stdin;
        name_ = "<stdin>";
        setBinaryMode(stdin);
        return true;
    }
    name_ = path;
    if (isDirectory(path)) return false;
    file_ = openFile(path, "rb");
    ownsFile_ = file_ != nullptr;
    return file_ != nullptr;
}

bool TextInput::next(std::string* line, bool* tooLong) {
    line->clear();
    *tooLong = false;
    int c = std::getc(file_);
    if (c == EOF) return false;
    ++lineNumber_;
    while (c != EOF && c != '\n') {
        if (line->size() < kMaxLine)
            line->push_back(char(c));
        else
            *tooLong = true;
        c = std::getc(file_);
    }
    while (!line->empty() && line->back() == '\r') line->pop_back();
    return true;
}

bool TextInput::failed() const { return file_ != nullptr && std::ferror(file_) != 0; }

std::string TextInput::where(const std::string& message) const {
    return name_ + ":" + std::to_string(lineNumber_) + ": " + message;
}

std::string openFailureReason(const std::string& path) {
    if (isDirectory(path)) return path + ": is a directory";
    std::FILE* f = openFile(path, "rb");
    const int error = errno;
    if (f != nullptr) {
        std::fclose(f);
        return path + ": cannot be read";
    }
    if (error == ENOENT) return path + ": no such file";
    return path + ": " + std::generic_category().message(error);
}

}  // namespace cli
