#include "settings.h"

#include <cstdio>
#include <filesystem>

#include "text_input.h"
#include "tool_platform.h"

namespace cli {

namespace {

// A value that always suits setting i, for the hint of an error.
const char* goodValue(std::size_t i) { return i <= 1 ? "meters" : i == 2 ? "dms" : "0"; }

// "FILE:LINE: distUnits=7 is not a unit (0..4); set it with 'quillon
// units set distUnits meters'" for a value the checked reader refused,
// whose message is "settings file FILE:LINE: distUnits=7 ...".
int badSetting(const char* command, const std::string& message) {
    const std::string prefix = "settings file ";
    if (message.compare(0, prefix.size(), prefix) != 0) return inputError(command, message);
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) {
        const std::string entry = std::string(": ") + quillon::Units::key(i) + "=";
        if (message.find(entry) == std::string::npos) continue;
        return inputError(command, message.substr(prefix.size()) + "; set it with 'quillon units set " +
                                       quillon::Units::key(i) + " " + goodValue(i) + "'");
    }
    return inputError(command, message);
}

// The default file; created with the defaults when missing.
void findDefaultFile(const char* command, SettingsFile* file) {
    const std::string folder = configDirectory();
    if (folder.empty()) return;  // defaults in memory only
    file->path = folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + "quillon.ini";
    if (fileExists(file->path)) return;
    if (!makeDirectories(folder) || !quillon::Units().save(file->path)) {
        std::fprintf(stderr, "quillon %s: warning: cannot create %s; using the default settings\n", command,
                     file->path.c_str());
        file->path.clear();
    }
}

}  // namespace

int loadSettings(const char* command, const std::optional<std::string>& unitsFile, SettingsUse use,
                 SettingsFile* file) {
    file->units = quillon::Units();
    if (unitsFile)
        file->path = *unitsFile;
    else
        findDefaultFile(command, file);
    if (file->path.empty()) return kSuccess;

    if (use == SettingsUse::kRepair) {
        // The file may be missing: the units command creates it when setting
        // a value.
        if (fileExists(file->path)) {
            std::FILE* probe = isDirectory(file->path) ? nullptr : openFile(file->path, "rb");
            if (probe == nullptr) return inputError(command, "settings file " + openFailureReason(file->path));
            std::fclose(probe);
        }
        file->units = quillon::Units::load(file->path);
        return kSuccess;
    }

    quillon::Result<quillon::Units> read = quillon::Units::read(file->path);
    if (read) {
        file->units = *read;
        return kSuccess;
    }
    switch (read.error().code) {
    case quillon::Errc::io_error: return inputError(command, "settings file " + openFailureReason(file->path));
    case quillon::Errc::parse_error:
    case quillon::Errc::out_of_range: return badSetting(command, read.error().message);
    default: return inputError(command, read.error().message);
    }
}

}  // namespace cli
