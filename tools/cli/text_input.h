// Line-by-line reading of the small text inputs of the batch commands (a
// file, or standard input for "-"), with the line number for messages. A
// line longer than the cap is reported rather than kept whole.
#ifndef QUILLON_CLI_TEXT_INPUT_H
#define QUILLON_CLI_TEXT_INPUT_H

#include <cstdio>
#include <string>

namespace cli {

class TextInput {
public:
    static constexpr std::size_t kMaxLine = 1 << 16;

    TextInput() = default;
    ~TextInput();
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;

    // Opens the path ("-" is standard input); false when it cannot be read.
    bool open(const std::string& path);
    // The next line without its line end ("\n", "\r\n" or "\r\r\n"); false
    // at the end. *tooLong is set when the line was cut at kMaxLine.
    bool next(std::string* line, bool* tooLong);
    bool failed() const;  // a read error (not the end of the input)
    long lineNumber() const { return lineNumber_; }
    // "<stdin>" or the path, for messages: "data.txt:3: ...".
    const std::string& name() const { return name_; }
    // "NAME:LINE: message", the one-line form of every input error.
    std::string where(const std::string& message) const;

private:
    std::FILE* file_ = nullptr;
    bool ownsFile_ = false;
    long lineNumber_ = 0;
    std::string name_;
};

// The text of a path for messages when it cannot be opened: "no such file",
// "is a directory", "permission denied".
std::string openFailureReason(const std::string& path);

}  // namespace cli

#endif
