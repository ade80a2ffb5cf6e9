// The parts of the platform layer that standard C++ covers everywhere.
#include <filesystem>
#include <system_error>

#include "tool_platform.h"

namespace cli {

bool isDirectory(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::u8path(path), ec);
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::u8path(path), ec);
}

long long regularFileSize(const std::string& path) {
    std::error_code ec;
    const auto p = std::filesystem::u8path(path);
    if (!std::filesystem::is_regular_file(p, ec)) return -1;
    const auto size = std::filesystem::file_size(p, ec);
    return ec ? -1 : static_cast<long long>(size);
}

bool makeDirectories(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::u8path(path), ec);
    return std::filesystem::is_directory(std::filesystem::u8path(path), ec);
}

}  // namespace cli
