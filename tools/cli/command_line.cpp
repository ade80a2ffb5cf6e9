#include "command_line.h"

#include <cstdio>
#include <cstring>

namespace cli {

namespace {

bool looksLikeNumber(const char* arg) {
    return arg[0] == '-' && (arg[1] == '.' || (arg[1] >= '0' && arg[1] <= '9'));
}

}  // namespace

CommandLine::CommandLine(const char* command, int argc, char** argv, int first,
                         std::initializer_list<OptionRule> rules)
    : command_(command) {
    bool optionsEnded = false;
    for (int i = first; i < argc; ++i) {
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
            given_.push_back({"help", ""});
            continue;
        }
        if (arg[1] != '-') {
            error_ = std::string("unknown option '") + arg + "'";
            return;
        }
        std::string name(arg + 2);
        std::string value;
        bool hasInlineValue = false;
        const std::size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.erase(equals);
            hasInlineValue = true;
        }
        const OptionRule* rule = nullptr;
        static const OptionRule kUnits{"units", true};
        if (name == kUnits.name) rule = &kUnits;
        for (const OptionRule& candidate : rules)
            if (name == candidate.name) rule = &candidate;
        if (rule == nullptr) {
            error_ = "unknown option '--" + name + "'";
            return;
        }
        if (rule->takesValue && !hasInlineValue) {
            if (i + 1 >= argc) {
                error_ = "option '--" + name + "' needs a value";
                return;
            }
            value = argv[++i];
        } else if (!rule->takesValue && hasInlineValue) {
            error_ = "option '--" + name + "' takes no value";
            return;
        }
        given_.push_back({name, value});
    }
}

bool CommandLine::has(const char* name) const {
    for (const Given& g : given_)
        if (g.name == name) return true;
    return false;
}

std::string CommandLine::value(const char* name, const std::string& fallback) const {
    std::string found = fallback;
    for (const Given& g : given_)
        if (g.name == name) found = g.value;
    return found;
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
