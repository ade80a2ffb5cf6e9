#include "settings.h"

#include <quillon/units.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "output.h"
#include "text_input.h"
#include "tool_platform.h"

namespace cli {

const char* const kSettingNames[7] = {"distUnits",      "wpUnits",      "latLonStyle",    "defaultLatHemi",
                                      "defaultLonHemi", "defaultEntry", "defaultDistCalc"};

int* settingField(int index) {
    Units* u = getUnits();
    int* fields[7] = {&u->distUnits,      &u->wpUnits,      &u->latLonStyle,    &u->defaultLatHemi,
                      &u->defaultLonHemi, &u->defaultEntry, &u->defaultDistCalc};
    return fields[index];
}

int lineOfKey(const std::string& path, const char* key) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::string line;
    const std::string wanted(key);
    for (int number = 1; std::getline(in, line); ++number) {
        std::size_t i = 0;
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (line.size() - i < wanted.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < wanted.size() && same; ++k)
            same = std::tolower(static_cast<unsigned char>(line[i + k])) ==
                   std::tolower(static_cast<unsigned char>(wanted[k]));
        if (!same) continue;
        i += wanted.size();
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i < line.size() && line[i] == '=') return number;
    }
    return 0;
}

namespace {

// The default file; created with the defaults when missing.
int findDefaultFile(const char* command, SettingsFile* file) {
    const std::string folder = configDirectory();
    if (folder.empty()) return kSuccess;  // defaults in memory only
    file->path = folder + (folder.find('\\') != std::string::npos ? "\\" : "/") + "quillon.ini";
    file->wide = fromUtf8(file->path);
    if (fileExists(file->path)) return kSuccess;
    Units defaults;
    if (makeDirectories(folder)) defaults.saveData(file->wide.c_str());
    if (!fileExists(file->path)) {
        std::fprintf(stderr, "quillon %s: warning: cannot create %s; using the default settings\n", command,
                     file->path.c_str());
        file->path.clear();
        file->wide.clear();
    }
    return kSuccess;
}

}  // namespace

int loadSettings(const char* command, const std::optional<std::string>& unitsFile, SettingsUse use,
                 SettingsFile* file) {
    if (unitsFile) {
        file->path = *unitsFile;
        file->wide = fromUtf8(file->path);
        // A file named explicitly must exist, except for the units command,
        // which creates it when setting a value.
        if (!fileExists(file->path) && use == SettingsUse::kRead)
            return inputError(command, "settings file " + file->path + ": no such file");
    } else {
        findDefaultFile(command, file);
    }
    if (!file->path.empty() && fileExists(file->path)) {
        std::FILE* probe = isDirectory(file->path) ? nullptr : openFile(file->path, "rb");
        if (probe == nullptr)
            return inputError(command, "settings file " + openFailureReason(file->path));
        std::fclose(probe);
    }
    if (allocUnits(file->wide.c_str()) == 0) return inputError(command, "cannot create the units settings");
    if (use == SettingsUse::kRepair) return kSuccess;
    for (int i = 0; i < 2; ++i) {
        const int value = *settingField(i);
        if (value >= 0 && value <= 4) continue;
        const int line = lineOfKey(file->path, kSettingNames[i]);
        return inputError(command, file->path + ":" + std::to_string(line) + ": " + kSettingNames[i] + "=" +
                                              std::to_string(value) +
                                              " is not a unit (0..4); set it with 'quillon units set " +
                                              kSettingNames[i] + " meters'");
    }
    return kSuccess;
}

}  // namespace cli
