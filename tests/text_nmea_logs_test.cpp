// Checksums and field splitting on real receiver logs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillon/sentences.h"
#include "test_support.h"

namespace {

struct LogFile {
    const char* name;
    // Checksum counts of the log's README: matching, not matching, no "*".
    int valid, bad, none;
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

// The lines of a log as captured (a CRLF line keeps its "\r").
std::vector<std::wstring> linesOf(const LogFile& log) {
    const std::string bytes = testing_support::readBytes(testing_support::nmeaDir() + "/" + log.name);
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        if (end > start) lines.push_back(testing_support::widen(bytes.substr(start, end - start)));
        start = end + 1;
    }
    return lines;
}

std::wstring withoutLineEnd(std::wstring line) {
    while (!line.empty() && (line.back() == L'\r' || line.back() == L'\n')) line.pop_back();
    return line;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

enum class Framing { Valid, Bad, None };

int hexValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

// The strict NMEA reading, independent of the library: the exclusive-or of
// everything after the first "$" up to the last "*", against the two hex
// digits after it in either case.
Framing strictChecksum(const std::wstring& captured) {
    const std::wstring line = withoutLineEnd(captured);
    const std::size_t dollar = line.find(L'$');
    const std::size_t star = line.rfind(L'*');
    if (dollar == std::wstring::npos || star == std::wstring::npos || star < dollar) return Framing::None;
    unsigned x = 0;
    for (std::size_t k = dollar + 1; k < star; ++k) x ^= unsigned(line[k]);
    if (line.size() != star + 3 || dollar != 0) return Framing::Bad;
    const int high = hexValue(line[star + 1]), low = hexValue(line[star + 2]);
    return high >= 0 && low >= 0 && unsigned(high * 16 + low) == x ? Framing::Valid : Framing::Bad;
}

// One character changed so that the sentence can no longer match: the "$"
// and the "*" become other characters, a body character flips its lowest bit
// (the exclusive-or changes by 1), a checksum digit becomes the next digit
// of a different value in the same case.
wchar_t corrupted(wchar_t c, std::size_t index, std::size_t star) {
    if (index == 0) return L'!';
    if (index < star) return wchar_t(c ^ 1);
    if (index == star) return L'+';
    if (c == L'9') return L'0';
    if (c == L'f') return L'a';
    if (c == L'F') return L'A';
    return wchar_t(c + 1);
}

TEST(NmeaLogs, ChecksumsAgreeWithStrictReadingAndReadmeCounts) {
    QUILLON_REQUIRE_NMEA_LOGS();
    int total = 0;
    for (const auto& log : kLogs) {
        int valid = 0, bad = 0, none = 0;
        for (const auto& line : linesOf(log)) {
            const Framing framing = strictChecksum(line);
            (framing == Framing::Valid ? valid : framing == Framing::Bad ? bad : none)++;
            EXPECT_EQ(checkCheckSum(line.c_str()), framing == Framing::Valid ? 1 : 0) << log.name << ": " << narrow(line);
        }
        EXPECT_EQ(valid, log.valid) << log.name;
        EXPECT_EQ(bad, log.bad) << log.name;
        EXPECT_EQ(none, log.none) << log.name;
        total += valid + bad + none;
    }
    EXPECT_EQ(total, 9910);
}

TEST(NmeaLogs, EverySingleCharacterCorruptionIsRejected) {
    QUILLON_REQUIRE_NMEA_LOGS();
    int sentences = 0;
    for (const auto& log : kLogs) {
        for (const auto& line : linesOf(log)) {
            if (strictChecksum(line) != Framing::Valid) continue;
            ++sentences;
            const std::size_t star = line.rfind(L'*');
            for (std::size_t k = 0; k <= star + 2; ++k) {
                std::wstring broken = line;
                broken[k] = corrupted(line[k], k, star);
                ASSERT_NE(strictChecksum(broken), Framing::Valid) << "corruption left the sentence valid: " << narrow(broken);
                if (checkCheckSum(broken.c_str()) != 0) {
                    ADD_FAILURE() << log.name << ": accepted after changing character " << k << ": "
                                  << narrow(broken);
                    break;
                }
            }
        }
    }
    EXPECT_EQ(sentences, 9544) << "valid sentences in all logs, as their README counts them";
}

// A plain comma split as form 1 to 3 with only "," separating reads it:
// blanks, ":" and ";" at the start of a field are skipped, except the very
// last character of the text.
std::vector<std::wstring> plainCommaSplit(const std::wstring& text, const std::wstring& skipped) {
    std::vector<std::wstring> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(L',', start);
        const bool last = comma == std::wstring::npos;
        std::wstring field = text.substr(start, last ? std::wstring::npos : comma - start);
        const std::size_t first = field.find_first_not_of(skipped);
        if (first != std::wstring::npos) field.erase(0, first);
        else if (last && !field.empty()) field = field.substr(field.size() - 1);
        else field.clear();
        fields.push_back(field);
        if (last) return fields;
        start = comma + 1;
    }
}

template <int Width, typename Split>
void expectSplitLikeCommas(const std::wstring& skipped, Split split, int* compared, int* tooWide) {
    for (const auto& log : kLogs) {
        for (const auto& captured : linesOf(log)) {
            const std::wstring line = withoutLineEnd(captured);
            const std::vector<std::wstring> expected = plainCommaSplit(line, skipped);
            bool fits = true;
            for (const auto& f : expected) fits = fits && f.size() <= Width - 1;
            if (!fits) {
                ++*tooWide;
                continue;
            }
            static wchar_t rows[128][Width];
            const int count = split(line.c_str(), rows);
            ASSERT_EQ(count, int(expected.size())) << log.name << ": " << narrow(line);
            for (int r = 0; r < count; ++r)
                ASSERT_EQ(narrow(rows[r]), narrow(expected[std::size_t(r)]))
                    << log.name << ": field " << r << " of " << narrow(line);
            ++*compared;
        }
    }
}

TEST(NmeaLogs, FieldsAgreeWithPlainCommaSplit) {
    QUILLON_REQUIRE_NMEA_LOGS();
    int compared20 = 0, tooWide20 = 0, compared80 = 0, tooWide80 = 0, compared25 = 0, tooWide25 = 0;
    expectSplitLikeCommas<20>(L" :;", [](const wchar_t* t, wchar_t(*rows)[20]) { return breakFields(t, rows, 128, 1); },
                              &compared20, &tooWide20);
    expectSplitLikeCommas<80>(L" :;", [](const wchar_t* t, wchar_t(*rows)[80]) { return breakFields(t, rows, 128, 1); },
                              &compared80, &tooWide80);
    expectSplitLikeCommas<25>(L" :", [](const wchar_t* t, wchar_t(*rows)[25]) { return breakFields(t, rows); },
                              &compared25, &tooWide25);
    std::cout << "    compared " << compared20 << " lines in 20-wide rows (" << tooWide20 << " with a wider field), "
              << compared25 << " in 25-wide (" << tooWide25 << "), " << compared80 << " in 80-wide (" << tooWide80
              << ")\n";
    EXPECT_EQ(compared80, 9910);
    EXPECT_GT(compared20, 9000);
}

}  // namespace
