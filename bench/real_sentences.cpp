#include "real_sentences.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace bench {

std::string nmeaDir() {
    const char* overridden = std::getenv("QUILLON_NMEA_DIR");
    return overridden != nullptr && *overridden != '\0' ? overridden : QUILLON_NMEA_DIR;
}

namespace {

// Bytes widened one to one: the logs are ASCII.
void appendLines(const std::filesystem::path& file, std::vector<std::wstring>* lines) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        if (line.empty()) continue;
        lines->emplace_back(line.begin(), line.end());
    }
}

std::vector<std::wstring> loadSentences() {
    namespace fs = std::filesystem;
    std::vector<std::wstring> lines;
    std::error_code error;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(nmeaDir(), error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".nmea") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) appendLines(file, &lines);
    return lines;
}

}  // namespace

const std::vector<std::wstring>& realSentences() {
    static const std::vector<std::wstring> sentences = loadSentences();
    return sentences;
}

}  // namespace bench
