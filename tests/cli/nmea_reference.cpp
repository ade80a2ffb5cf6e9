#include "nmea_reference.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::vector<std::string> split(const std::string& s) {
    std::vector<std::string> f;
    std::stringstream in(s);
    std::string item;
    while (std::getline(in, item, ',')) f.push_back(item);
    if (!s.empty() && s.back() == ',') f.push_back("");
    return f;
}

double degrees(const std::string& value, const std::string& hemisphere) {
    const double v = std::atof(value.c_str());
    const int whole = int(v / 100);
    const double d = whole + (v - whole * 100) / 60.0;
    return hemisphere == "S" || hemisphere == "W" ? -d : d;
}

}  // namespace

ReferenceLog readReferenceLog(const std::string& path) {
    ReferenceLog log;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        ++log.lines;
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        const std::size_t dollar = line.rfind('$');
        if (dollar == std::string::npos) continue;
        const std::string s = line.substr(dollar);
        ++log.sentences;
        const std::size_t star = s.rfind('*');
        if (star != std::string::npos) {
            unsigned x = 0;
            for (std::size_t i = 1; i < star; ++i) x ^= static_cast<unsigned char>(s[i]);
            if (std::strtoul(s.substr(star + 1, 2).c_str(), nullptr, 16) != x) {
                ++log.badChecksum;
                continue;
            }
        }
        const auto f = split(s.substr(1, star == std::string::npos ? std::string::npos : star - 1));
        const std::string address = f[0];
        log.types[address[0] == 'P' ? address : address.substr(2)] += 1;
        const std::string type = address.substr(2);
        if (type == "GGA" && f.size() > 6 && std::atoi(f[6].c_str()) > 0)
            log.fixes.push_back({f[1], degrees(f[2], f[3]), degrees(f[4], f[5])});
        if (type == "RMC" && log.firstDate.empty() && f.size() > 9) log.firstDate = f[9];
    }
    return log;
}
