// The units settings file of the tool: chosen with --units FILE, otherwise
// quillon.ini in the user's configuration folder (created with the
// defaults when missing), loaded into the library's process-wide Units.
#ifndef QUILLON_CLI_SETTINGS_H
#define QUILLON_CLI_SETTINGS_H

#include <optional>
#include <string>

#include "command_line.h"

namespace cli {

struct SettingsFile {
    std::string path;    // as given or found; "" when there is none
    std::wstring wide;   // the same path for the library
};

// How a command treats the settings it loads.
enum class SettingsUse {
    kRead,    // the values must make sense (unit indexes 0..4)
    kRepair,  // any values are shown or overwritten (the units command)
};

// Loads the settings of `unitsFile` (the value of --units; without it the
// default file) into the process-wide instance. On failure writes one error
// line naming the command and returns kBadInput; otherwise kSuccess.
int loadSettings(const char* command, const std::optional<std::string>& unitsFile, SettingsUse use,
                 SettingsFile* file);

// The names of the seven settings, in file order.
extern const char* const kSettingNames[7];
// The field of the process-wide instance behind setting i.
int* settingField(int index);
// The 1-based line of the settings file where the key is set, or 0.
int lineOfKey(const std::string& path, const char* key);

}  // namespace cli

#endif
