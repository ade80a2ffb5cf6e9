#include "test_support.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace testing_support {

TempDir::TempDir() {
    std::random_device entropy;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
        auto candidate = base / ("quillon-test-" + std::to_string(entropy()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string nmeaDir() {
#ifdef QUILLON_NMEA_DIR
    if (std::filesystem::is_directory(QUILLON_NMEA_DIR)) return QUILLON_NMEA_DIR;
#endif
    return "";
}

}  // namespace testing_support
