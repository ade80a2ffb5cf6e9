// The units settings file of the tool: chosen with --units FILE, otherwise
// quillon.ini in the user's configuration folder (created with the
// defaults when missing).
#ifndef QUILLON_CLI_SETTINGS_H
#define QUILLON_CLI_SETTINGS_H

#include <quillon/cpp/units.hpp>

#include <optional>
#include <string>

#include "command_line.h"

namespace cli {

struct SettingsFile {
    std::string path;        // as given or found; "" when there is none
    quillon::Units units;    // what the file holds; the defaults without one
};

// How a command treats the settings it loads.
enum class SettingsUse {
    kRead,    // every value must make sense (unit indexes 0..4, whole numbers)
    kRepair,  // any values are shown or overwritten (the units command)
};

// Loads the settings of `unitsFile` (the value of --units; without it the
// default file). On failure writes one error line naming the command and
// returns kBadInput; otherwise kSuccess.
int loadSettings(const char* command, const std::optional<std::string>& unitsFile, SettingsUse use,
                 SettingsFile* file);

}  // namespace cli

#endif
