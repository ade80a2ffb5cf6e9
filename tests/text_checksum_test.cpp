// The sentence checksum: the tail checkSum appends and what checkCheckSum
// accepts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quillon/sentences.h"

namespace {

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r') out += "\\r";
        else if (c == L'\n') out += "\\n";
        else out += c < 128 ? static_cast<char>(c) : '?';
    }
    return out;
}

// checkSum on a copy of `body` in a buffer with room to spare; the spare
// characters must stay as they were.
std::wstring withChecksum(const std::wstring& body) {
    std::vector<wchar_t> buffer(body.begin(), body.end());
    buffer.resize(body.size() + 6 + 4, L'#');
    buffer[body.size()] = L'\0';
    EXPECT_EQ(checkSum(buffer.data()), 4) << narrow(body);
    for (std::size_t k = body.size() + 6; k < buffer.size(); ++k)
        EXPECT_EQ(buffer[k], L'#') << "written past the tail of " << narrow(body);
    return std::wstring(buffer.data());
}

TEST(CheckSum, AppendsStarTwoUppercaseDigitsAndLineEnd) {
    struct Case {
        const wchar_t* body;
        const wchar_t* tail;
    } const cases[] = {
        {L"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", L"*47\r\n"},
        {L"$ABC", L"*40\r\n"},
        {L"$PX,1,2", L"*0B\r\n"},
        {L"abc", L"*01\r\n"},     // the first character is not examined
        {L"", L"*00\r\n"},
        {L"$", L"*00\r\n"},
        {L"$\u00ff", L"*00\r\n"},  // 255 reduces to 0 modulo 255
        {L"$\u00fe", L"*FE\r\n"},
        {L"$\u0100\u0001", L"*02\r\n"},  // 0x101 modulo 255
    };
    for (const auto& c : cases) {
        const std::wstring expected = std::wstring(c.body) + c.tail;
        const std::wstring written = withChecksum(c.body);
        EXPECT_EQ(narrow(written), narrow(expected)) << "body \"" << narrow(c.body) << '"';
        EXPECT_EQ(checkCheckSum(written.c_str()), c.body[0] == L'$' ? 1 : 0) << narrow(written);
    }
}

TEST(CheckSum, CharacterBeyondBmpCountsAsItsSurrogatePair) {
    // U+1F600 is D83D DE00 in UTF-16: 0xD83D ^ 0xDE00 = 0x063D, 1597 % 255 = 67 = 0x43.
    const std::wstring written = withChecksum(L"$\U0001F600");
    EXPECT_EQ(narrow(written.substr(written.size() - 5)), "*43\\r\\n");
}

TEST(CheckCheckSum, AcceptsExactlyMatchingSentences) {
    struct Case {
        const wchar_t* sentence;
        int expected;
    } const cases[] = {
        {L"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n", 1},
        {L"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*46\r\n", 0},
        {L"$PX,1,2*0b", 1},         // lower-case digits
        {L"$PX,1,2*0B junk", 1},    // what follows the number is ignored
        {L"$PX,1,2* \t0B", 1},      // white space before the number is skipped
        {L"$PX,1,2*B", 1},          // one digit
        {L"$PX,1,2*000000000B", 1}, // many digits
        {L"$PX,1,2*10000000B", 1},  // wraps as an unsigned int
        {L"$PX,1,2*0x0B", 1},       // the scan's optional "0x"
        {L"$PX,1,2*+0B", 1},        // and its optional sign
        {L"$PX,1,2*BG", 1},
        {L"$PX,1,2*0C", 0},
        {L"$*", 1},                 // empty span and no number: both 0
        {L"$ABC*", 0},              // computed 0x40, read 0
        {L"$ABC*zz", 0},
        {L"ABC*40", 0},             // no "$"
        {L"$ABC", 0},               // no asterisk
        {L"*", 0},
        {L"$", 0},
        {L"", 0},
        {L"*$", 0},                 // the asterisk at index 0 is not examined
        {L"$A*B*29", 1},            // the last asterisk delimits: span "A*B"
        {L"$A*B*03", 0},            // not "AB" alone
        {L"$\u00ff*0", 1},          // 255 reduces to 0
        {L"$\u00ff*FF", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkCheckSum(c.sentence), c.expected) << "sentence \"" << narrow(c.sentence) << '"';
}

TEST(CheckCheckSum, HostileTextStaysInBounds) {
    const std::wstring texts[] = {
        L"$" + std::wstring(200000, L'A'),
        std::wstring(100000, L'*'),
        L"$" + std::wstring(100000, L'\u4e2d') + L"*",
        L"$*" + std::wstring(100000, L'F'),
        L"$,,,,,,,,,,,,,,,,",
    };
    for (const auto& text : texts) {
        const int result = checkCheckSum(text.c_str());
        EXPECT_TRUE(result == 0 || result == 1) << "length " << text.size();
    }
    EXPECT_EQ(checkCheckSum(nullptr), 0);
}

}  // namespace
