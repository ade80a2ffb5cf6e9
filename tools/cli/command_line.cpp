#include "command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "numbers.h"

namespace cli {

namespace {

// Options that exclude each other in every command that has them all.
const std::vector<std::vector<std::string>> kExclusiveEverywhere = {{"csv", "json"}};

// The longest line of help, as the prose of every command is wrapped.
constexpr std::size_t kHelpWidth = 72;

bool looksLikeNumber(const char* arg) {
    return arg[0] == '-' && (arg[1] == '.' || (arg[1] >= '0' && arg[1] <= '9'));
}

// "a, b or c"
std::string alternatives(const std::vector<std::string>& items, const char* last) {
    std::string s;
    for (std::size_t i = 0; i < items.size(); ++i)
        s += (i == 0 ? "" : i + 1 == items.size() ? last : ", ") + items[i];
    return s;
}

// One row of the options part of the help: the label, then the help text
// wrapped at blanks into lines of at most kHelpWidth characters, the
// continuation lines indented to `column`.
void helpRow(std::string* out, const std::string& label, const std::string& help, std::size_t column) {
    std::string line = "  " + label;
    auto pad = [&line, column] { line.append(line.size() < column ? column - line.size() : 1, ' '); };
    pad();
    bool lineHasWord = false;
    std::size_t at = 0;
    while (at < help.size()) {
        const std::size_t end = std::min(help.find(' ', at), help.size());
        const std::string word = help.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        if (lineHasWord && line.size() + 1 + word.size() > kHelpWidth) {
            *out += line + "\n";
            line.assign(column, ' ');
            lineHasWord = false;
        }
        line += (lineHasWord ? " " : "") + word;
        lineHasWord = true;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    *out += line + "\n";
}

}  // namespace

Option::Option(std::string name_, std::string placeholder_, std::string takes_, std::string help_, Reader read_)
    : name(std::move(name_)),
      takesValue(true),
      placeholder(std::move(placeholder_)),
      takes(std::move(takes_)),
      help(std::move(help_)),
      read(std::move(read_)) {}

Option Option::flag(const char* name, const char* help, bool* given) {
    Option o(name, "", "no value", help, [given](const std::string&) {
        *given = true;
        return true;
    });
    o.takesValue = false;
    return o;
}

Option Option::whole(const char* name, const char* placeholder, int low, int high, const char* help,
                     std::optional<int>* value) {
    const std::string range = high == INT_MAX ? "from " + std::to_string(low)
                                              : std::to_string(low) + ".." + std::to_string(high);
    return Option(name, placeholder, "a whole number " + range, help, [=](const std::string& text) {
        int v = 0;
        if (!parseInt(text, &v) || v < low || v > high) return false;
        *value = v;
        return true;
    });
}

Option Option::number(const char* name, const char* placeholder, const char* help, std::optional<double>* value) {
    return Option(name, placeholder, "a number", help, [value](const std::string& text) {
        double v = 0.0;
        if (!parseDouble(text, &v)) return false;
        *value = v;
        return true;
    });
}

Option Option::choice(const char* name, std::vector<Word> words, const char* help, std::optional<int>* index) {
    std::vector<std::string> spelled;
    std::string placeholder;
    bool wordsHaveHelp = false;
    for (const Word& w : words) {
        spelled.emplace_back(w.word);
        placeholder += (placeholder.empty() ? "" : "|") + std::string(w.word);
        wordsHaveHelp = wordsHaveHelp || w.help != nullptr;
    }
    Option o(name, placeholder, alternatives(spelled, " or "), help, [spelled, index](const std::string& text) {
        for (std::size_t i = 0; i < spelled.size(); ++i) {
            if (text == spelled[i]) {
                *index = int(i);
                return true;
            }
        }
        return false;
    });
    if (wordsHaveHelp) o.words = std::move(words);
    return o;
}

Option Option::length(const char* name, const char* placeholder, const char* help, std::optional<std::string>* text) {
    return Option(name, placeholder, "a length", help, [text](const std::string& typed) {
        *text = typed;
        return true;
    });
}

Option Option::text(const char* name, const char* placeholder, const char* help, std::optional<std::string>* value) {
    return Option(name, placeholder, "a text", help, [value](const std::string& typed) {
        *value = typed;
        return true;
    });
}

Option Option::unitsFile(const char* help, std::optional<std::string>* path) {
    return text("units", "FILE", help, path);
}

Option& Option::saying(std::string takes_) {
    takes = std::move(takes_);
    return *this;
}

Option& Option::naming(std::string arguments) {
    placeholder = std::move(arguments);
    return *this;
}

CommandLine::CommandLine(const char* command, const char* help, std::vector<Option> options, const char* helpEnd)
    : command_(command), help_(help), helpEnd_(helpEnd), options_(std::move(options)) {}

CommandLine& CommandLine::exclusive(std::vector<std::string> names) {
    exclusive_.push_back(std::move(names));
    return *this;
}

const Option* CommandLine::find(const std::string& name) const {
    for (const Option& o : options_)
        if (o.name == name) return &o;
    return nullptr;
}

bool CommandLine::given(const std::string& name) const {
    for (const std::string& g : given_)
        if (g == name) return true;
    return false;
}

std::optional<int> CommandLine::parse(int argc, char** argv) {
    // Every command takes --units FILE; those that do not read settings
    // declare no row for it and ignore the value.
    std::optional<std::string> ignoredUnits;
    const Option ignoredUnitsRow = Option::unitsFile("", &ignoredUnits);
    std::vector<std::pair<const Option*, std::string>> values;
    bool help = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == '\0' || looksLikeNumber(arg)) {
            positionals_.emplace_back(arg);
            continue;
        }
        if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        }
        if (std::strcmp(arg, "-h") == 0 || std::strcmp(arg, "--help") == 0) {
            help = true;
            continue;
        }
        if (arg[1] != '-') return usageError(std::string("unknown option '") + arg + "'");
        std::string name(arg + 2);
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.erase(equals);
        }
        const Option* option = find(name);
        if (option == nullptr && name == "units") option = &ignoredUnitsRow;
        if (option == nullptr) return usageError("unknown option '--" + name + "'");
        if (!option->takesValue && inlineValue) return usageError("option '--" + name + "' takes no value");
        if (option->takesValue && !inlineValue) {
            if (i + 1 >= argc) return usageError("option '--" + name + "' needs a value");
            inlineValue = argv[++i];
        }
        // The last occurrence is the one read.
        values.erase(std::remove_if(values.begin(), values.end(), [option](const auto& v) { return v.first == option; }),
                     values.end());
        values.emplace_back(option, inlineValue.value_or(""));
        given_.push_back(name);
    }
    if (help) {
        std::fputs(helpText().c_str(), stdout);
        return kSuccess;
    }
    std::vector<std::vector<std::string>> groups = exclusive_;
    for (const auto& group : kExclusiveEverywhere) {
        bool all = true;
        for (const std::string& name : group) all = all && find(name) != nullptr;
        if (all) groups.push_back(group);
    }
    for (const auto& group : groups) {
        int count = 0;
        std::vector<std::string> spelled;
        for (const std::string& name : group) {
            count += given(name) ? 1 : 0;
            spelled.push_back("--" + name);
        }
        if (count < 2) continue;
        return usageError(spelled.size() == 2 ? spelled[0] + " and " + spelled[1] + " exclude each other"
                                              : "give one of " + alternatives(spelled, ", "));
    }
    for (const auto& [option, text] : values)
        if (!option->read(text)) return badValue(option->name, text);
    return std::nullopt;
}

int CommandLine::usageError(const std::string& message) const { return cli::usageError(command_, message); }

int CommandLine::badValue(const std::string& name, const std::string& text) const {
    const Option* option = find(name);
    return usageError("--" + name + " takes " + (option != nullptr ? option->takes : "another value") + ", not '" +
                      text + "'");
}

std::string CommandLine::helpText() const {
    std::string out = help_;
    if (!options_.empty()) {
        // Labels: "--name PLACEHOLDER", or one per word of a choice whose
        // words have help lines.
        std::vector<std::pair<std::string, std::string>> rows;
        for (const Option& o : options_) {
            if (o.words.empty()) {
                rows.emplace_back("--" + o.name + (o.placeholder.empty() ? "" : " " + o.placeholder), o.help);
            } else {
                for (const Word& w : o.words) rows.emplace_back("--" + o.name + " " + w.word, w.help ? w.help : "");
            }
        }
        std::size_t widest = 0;
        for (const auto& row : rows) widest = std::max(widest, row.first.size());
        out += "\noptions:\n";
        for (const auto& [label, help] : rows) helpRow(&out, label, help, 2 + widest + 2);
    }
    if (helpEnd_ != nullptr) out += std::string("\n") + helpEnd_;
    return out;
}

int usageError(const char* command, const std::string& message) {
    std::fprintf(stderr, "quillon %s: %s (see 'quillon %s --help')\n", command, message.c_str(), command);
    return kBadUsage;
}

int inputError(const char* command, const std::string& message) {
    std::fprintf(stderr, "quillon %s: %s\n", command, message.c_str());
    return kBadInput;
}

}  // namespace cli
