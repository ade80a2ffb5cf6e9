// Checksums on real receiver logs, against a plain reading of each line
// independent of the library. (Field splitting of the same sentences is
// pinned row by row in text_test.)
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "quillon/sentences.h"
#include "test_support.h"

namespace {

struct LogFile {
    const char* name;
    int valid, bad, none;  // checksum counts of the logs' README: matching, not matching, no "*"
};

const LogFile kLogs[] = {
    {"ublox-neo-m9n-nmea.nmea", 1403, 0, 0},    {"ublox-zed-f9p-nmea.nmea", 1015, 0, 0},
    {"furuno_gl_ga.nmea", 306, 0, 0},           {"quectel-eg25-g.nmea", 861, 0, 0},
    {"skytraq-dgps.nmea", 1024, 0, 0},          {"telit-he910.nmea", 1558, 0, 0},
    {"ericsson-gru04-02-70sec.nmea", 976, 0, 0}, {"GPSmap-76S.nmea", 151, 0, 0},
    {"nmea-rtk.nmea", 244, 0, 0},               {"unicore-um621.nmea", 882, 0, 0},
    {"hemi.nmea", 753, 0, 0},                   {"edge/magellan-ec10.nmea", 76, 0, 0},
    {"edge/hp58534a.nmea", 0, 0, 13},           {"edge/firefly-II.nmea", 46, 23, 0},
    {"edge/sounder.nmea", 244, 0, 0},           {"edge/st-teseo-liv4f.nmea", 0, 330, 0},
    {"edge/pynmeagps-um981.nmea", 5, 0, 0},
};

// The lines of a log without their line ends.
std::vector<std::wstring> linesOf(const LogFile& log) {
    const std::string bytes = testing_support::readBytes(testing_support::nmeaDir() + "/" + log.name);
    std::vector<std::wstring> lines;
    for (std::size_t start = 0, end; start < bytes.size(); start = end + 1) {
        end = std::min(bytes.find('\n', start), bytes.size());
        std::string line = bytes.substr(start, end - start);
        while (!line.empty() && line.back() == '\r') line.pop_back();
        if (end > start) lines.push_back(testing_support::widen(line));
    }
    return lines;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
}

// The strict NMEA reading: the exclusive-or of everything after the first
// "$" up to the last "*", against the two hex digits after it in either
// case. 1 valid, 0 bad, -1 no checksum.
int strictChecksum(const std::wstring& line) {
    const std::size_t dollar = line.find(L'$'), star = line.rfind(L'*');
    if (dollar == std::wstring::npos || star == std::wstring::npos || star < dollar) return -1;
    unsigned x = 0;
    for (std::size_t k = dollar + 1; k < star; ++k) x ^= unsigned(line[k]);
    if (line.size() != star + 3 || dollar != 0) return 0;
    const int high = hexValue(line[star + 1]), low = hexValue(line[star + 2]);
    return high >= 0 && low >= 0 && unsigned(high * 16 + low) == x ? 1 : 0;
}

// Every line is judged as the strict reading judges it, in the counts the
// README gives; and every valid sentence is refused once any one character
// changes so that it can no longer match ("$" and "*" become others, a body
// character flips its lowest bit, a checksum digit becomes another).
TEST(NmeaLogs, ChecksumsAgreeWithStrictReadingAndEveryCorruptionIsRefused) {
    QUILLON_REQUIRE_NMEA_LOGS();
    int total = 0;
    for (const auto& log : kLogs) {
        int counts[3] = {0, 0, 0};  // none, bad, valid
        for (const auto& line : linesOf(log)) {
            const int strict = strictChecksum(line);
            ++counts[strict + 1];
            ASSERT_EQ(checkCheckSum(line.c_str()), strict == 1 ? 1 : 0) << log.name << ": " << narrow(line);
            if (strict != 1) continue;
            const std::size_t star = line.rfind(L'*');
            for (std::size_t k = 0; k <= star + 2; ++k) {
                std::wstring broken = line;
                const wchar_t c = line[k];
                broken[k] = k == 0 ? L'!' : k < star ? wchar_t(c ^ 1) : k == star ? L'+'
                          : c == L'9' ? L'0' : c == L'f' ? L'a' : c == L'F' ? L'A' : wchar_t(c + 1);
                ASSERT_EQ(checkCheckSum(broken.c_str()), 0) << log.name << ": accepted " << narrow(broken);
            }
        }
        EXPECT_EQ(counts[2] * 1000000 + counts[1] * 1000 + counts[0], log.valid * 1000000 + log.bad * 1000 + log.none)
            << log.name;
        total += counts[0] + counts[1] + counts[2];
    }
    EXPECT_EQ(total, 9910);
}

}  // namespace
