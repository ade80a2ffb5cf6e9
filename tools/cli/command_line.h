// The command line of one subcommand, declared as one table of options.
// Each row names an option, says what its value must be and where the
// value goes, and carries its line of help; parsing, the checks of the
// values, the usage errors and the options part of --help all come from
// the table, so that what a command accepts and what its help says cannot
// drift apart.
//
//     bool csv = false;
//     std::optional<int> decimals;
//     CommandLine args("angle", kHelp, {
//         Option::whole("decimals", "N", 0, 6, "decimals of the seconds, 0..6", &decimals),
//         Option::flag("csv", "comma-separated rows", &csv),
//     });
//     if (const auto status = args.parse(argc, argv)) return *status;
//     ... args.positionals() ...
#ifndef QUILLON_CLI_COMMAND_LINE_H
#define QUILLON_CLI_COMMAND_LINE_H

#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace cli {

// Exit statuses of every command.
constexpr int kSuccess = 0;
constexpr int kBadInput = 1;
constexpr int kBadUsage = 2;

// A word a choice option accepts, and its own help line when the help
// lists the words one per line (nullptr otherwise).
struct Word {
    const char* word;
    const char* help;
};

// One row of a command's option table. Build rows with the named kinds
// below; the constructor is for a kind of value that only one command
// reads (solve's "E,N,H" triples).
struct Option {
    // Reads the text of one occurrence into the bound value; false when the
    // text is not a value of the option.
    using Reader = std::function<bool(const std::string& text)>;

    // An option with a value. name: spelled "--name" on the command line.
    // placeholder: the value's name in the help ("N", "FILE"). takes: the
    // end of the usage error for a bad value, "--name takes TAKES, not
    // 'text'". help: one paragraph, wrapped by the help writer.
    Option(std::string name, std::string placeholder, std::string takes, std::string help, Reader read);

    // --name, no value: *given becomes true.
    static Option flag(const char* name, const char* help, bool* given);
    // --name N: a whole number in low..high ("a whole number 0..6"); with
    // high = INT_MAX, any from low ("a whole number from 1").
    static Option whole(const char* name, const char* placeholder, int low, int high, const char* help,
                        std::optional<int>* value);
    // --name X: a finite number in the "C" notation ("12.5", "-3e2").
    static Option number(const char* name, const char* placeholder, const char* help, std::optional<double>* value);
    // --name WORD: one of the words, spelled exactly; the value is the
    // word's index. The help shows "--name w1|w2" with the option's help,
    // or, when the words have help lines, one line per word.
    static Option choice(const char* name, std::vector<Word> words, const char* help, std::optional<int>* index);
    // --name LENGTH: a typed length ("10 m", "30ft", "12.5"), kept as typed:
    // a bare number is in the distance unit of the settings, so the command
    // reads it with readLength() (typed_text.h) once they are loaded, and
    // reports a bad one with CommandLine::badValue().
    static Option length(const char* name, const char* placeholder, const char* help,
                         std::optional<std::string>* text);
    // --name TEXT: any text, such as a file name.
    static Option text(const char* name, const char* placeholder, const char* help,
                       std::optional<std::string>* value);
    // --units FILE, for the commands that read the units settings
    // (loadSettings() in settings.h takes the value).
    static Option unitsFile(const char* help, std::optional<std::string>* path);

    // Replaces what a usage error says the option takes, where the kind's
    // own words ("a whole number from 1") would be less clear.
    Option& saying(std::string takes);
    // For a flag that changes what the positional arguments are (time
    // --gps WEEK SECONDS): their names, shown after the flag in the help.
    Option& naming(std::string arguments);

    std::string name;
    bool takesValue;
    std::string placeholder;  // after the name in the help; "" for most flags
    std::string takes;
    std::string help;
    std::vector<Word> words;  // a choice's words when they have help lines
    Reader read;
};

class CommandLine {
public:
    // command: the subcommand's name, for messages. help: its usage lines
    // and prose, ending with a line end; the options part follows, then
    // helpEnd (prose after the options) when given.
    CommandLine(const char* command, const char* help, std::vector<Option> options, const char* helpEnd = nullptr);

    // Options of which at most one may be given, besides --csv and --json,
    // which exclude each other in every command that has both.
    CommandLine& exclusive(std::vector<std::string> names);

    // Reads argv[1..argc) against the table: "--name value" and
    // "--name=value" alike, options before or after the positional
    // arguments; "-" alone and a "-" followed by a digit or "." are
    // positional (standard input, negative numbers); "--" ends the options.
    // Every command also takes --help (-h), and --units FILE, which only the
    // commands that declare it read. Of an option given twice, the last
    // value is the one read.
    // Returns nothing when the command goes on, or its exit status: kSuccess
    // after writing the help, kBadUsage after writing a usage error.
    std::optional<int> parse(int argc, char** argv);

    const char* command() const { return command_; }
    const std::vector<std::string>& positionals() const { return positionals_; }
    // Whether the option was on the command line.
    bool given(const std::string& name) const;

    // "quillon CMD: message (see 'quillon CMD --help')"; returns kBadUsage.
    int usageError(const std::string& message) const;
    // The usage error for a value found wrong after parsing (a length read
    // once the settings are loaded): "--name takes TAKES, not 'text'".
    int badValue(const std::string& name, const std::string& text) const;
    // The whole help text, as --help writes it.
    std::string helpText() const;

private:
    const Option* find(const std::string& name) const;

    const char* command_;
    const char* help_;
    const char* helpEnd_;
    std::vector<Option> options_;
    std::vector<std::vector<std::string>> exclusive_;
    std::vector<std::string> given_;
    std::vector<std::string> positionals_;
};

// Writes "quillon CMD: message" and the hint to see --help to standard
// error; returns kBadUsage.
int usageError(const char* command, const std::string& message);
// Writes "quillon CMD: message" to standard error; returns kBadInput.
int inputError(const char* command, const std::string& message);

}  // namespace cli

#endif
