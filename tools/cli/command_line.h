// The arguments of one subcommand: its options (with or without a value)
// and its positional arguments, with the tool's exit statuses.
#ifndef QUILLON_CLI_COMMAND_LINE_H
#define QUILLON_CLI_COMMAND_LINE_H

#include <initializer_list>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of every command.
constexpr int kSuccess = 0;
constexpr int kBadInput = 1;
constexpr int kBadUsage = 2;

struct OptionRule {
    const char* name;  // without the leading "--"
    bool takesValue;
};

class CommandLine {
public:
    // Splits argv[first..argc) against the options a command accepts. Every
    // command also accepts --help (-h) and --units FILE. "--name=value" and
    // "--name value" are both read; "-" alone and a "-" followed by a digit
    // or "." are positional (standard input, negative numbers); "--" ends
    // the options.
    CommandLine(const char* command, int argc, char** argv, int first, std::initializer_list<OptionRule> rules);

    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }
    const char* command() const { return command_; }
    bool wantsHelp() const { return has("help"); }

    bool has(const char* name) const;
    // The value of the last occurrence, or fallback when absent.
    std::string value(const char* name, const std::string& fallback = std::string()) const;
    const std::vector<std::string>& positionals() const { return positionals_; }

private:
    struct Given {
        std::string name;
        std::string value;
    };
    const char* command_;
    std::vector<Given> given_;
    std::vector<std::string> positionals_;
    std::string error_;
};

// Writes "quillon CMD: message" and the hint to see --help to standard
// error; returns kBadUsage.
int usageError(const char* command, const std::string& message);
// Writes "quillon CMD: message" to standard error; returns kBadInput.
int inputError(const char* command, const std::string& message);

}  // namespace cli

#endif
