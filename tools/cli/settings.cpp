#include "settings.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "text_input.h"
#include "tool_platform.h"

namespace cli {

namespace {

// The 1-based line of the settings file where the key is set, or 0. The
// checked reader names the key and its value but not the line, which a
// user editing the file wants.
int lineOfKey(const std::string& path, const char* key) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    const std::size_t length = std::strlen(key);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        std::size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line.size() - i < length) continue;
        bool same = true;
        for (std::size_t k = 0; k < length && same; ++k)
            same = std::tolower(static_cast<unsigned char>(line[i + k])) ==
                   std::tolower(static_cast<unsigned char>(key[k]));
        if (!same) continue;
        i = line.find_first_not_of(" \t", i + length);
        if (i != std::string::npos && line[i] == '=') return number;
    }
    return 0;
}

// A value that always suits setting i, for the hint of an error.
const char* goodValue(std::size_t i) { return i <= 1 ? "meters" : i == 2 ? "dms" : "0"; }

// "FILE:LINE: distUnits=7 is not a unit (0..4); set it with 'quillon
// units set distUnits meters'" for a value the checked reader refused,
// whose message is "settings file FILE: distUnits=7 ...".
int badSetting(const char* command, const std::string& path, const std::string& message) {
    const std::string prefix = "settings file " + path + ": ";
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) {
        const std::string entry = prefix + quillon::Units::key(i) + "=";
        if (message.compare(0, entry.size(), entry) != 0) continue;
        const char* key = quillon::Units::key(i);
        return inputError(command, path + ":" + std::to_string(lineOfKey(path, key)) + ": " +
                                       message.substr(prefix.size()) + "; set it with 'quillon units set " + key +
                                       " " + goodValue(i) + "'");
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
    case quillon::Errc::out_of_range: return badSetting(command, file->path, read.error().message);
    default: return inputError(command, read.error().message);
    }
}

}  // namespace cli
