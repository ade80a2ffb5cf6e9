// Sentences and file names through both doors (the flat wide-text functions
// and the C++ API in UTF-8 and wide text), and the exact number writers
// every text of the library goes through.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "quillon/cpp/sentences.hpp"
#include "quillon/cpp/text.hpp"
#include "quillon/sentences.h"
#include "test_support.h"
#include "text/format.h"

namespace {

using quillon::to_wide;
using testing_support::widen;

// The wide form of each row is made by widening each byte, so the rows
// keep to ASCII except where they say otherwise.
TEST(Text, ChecksumsAreAppendedAndJudgedAlikeThroughEveryDoor) {
    const struct {
        const wchar_t* body;
        const wchar_t* tail;
    } appended[] = {
        {L"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,", L"*47\r\n"}, {L"$PX,1,2", L"*0B\r\n"},
        {L"abc", L"*01\r\n"},  // the first character is not examined
        {L"", L"*00\r\n"}, {L"$\u00ff", L"*00\r\n"},  // 255 reduces to 0 modulo 255
        {L"$\u00fe", L"*FE\r\n"}, {L"$\u0100\u0001", L"*02\r\n"},  // 0x101 modulo 255
        // U+1F600 is D83D DE00 in UTF-16: 0xD83D ^ 0xDE00 = 0x063D, 1597 % 255 = 67.
        {L"$\U0001F600", L"*43\r\n"},
    };
    for (const auto& row : appended) {
        std::wstring buffer = std::wstring(row.body) + std::wstring(10, L'#');
        buffer[std::wcslen(row.body)] = L'\0';
        EXPECT_EQ(checkSum(buffer.data()), 4);
        const std::wstring expected = std::wstring(row.body) + row.tail;
        EXPECT_EQ(std::wstring(buffer.c_str()), expected);
        EXPECT_EQ(buffer.substr(expected.size() + 1), std::wstring(4, L'#')) << "written past the tail";
    }
    const struct {
        std::string sentence;
        bool ok;
    } judged[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n", true},
        {"$PX,1,2*0b", true},         // lower-case digits
        {"$PX,1,2*0B junk", true},    // what follows the number is ignored
        {"$PX,1,2* \t0B", true},      // white space before the number is skipped
        {"$PX,1,2*B", true},          // one digit
        {"$PX,1,2*10000000B", true},  // wraps as an unsigned int
        {"$PX,1,2*0x0B", true},       // the scan's optional "0x"
        {"$PX,1,2*+0B", true},        // and its optional sign
        {"$9*39", true}, {"$o*6F", true}, {"$o*6f", true}, {"$J*4A", true}, {"$J*4a", true},  // every end digit
        {"$PX,1,2*0BG", true}, {"$PX,1,2*0Bg", true},  // the letters after them are no digits
        {"$PX,1,2*0C", false}, {"$*", true},  // empty span and no number: both 0
        {"$ABC*", false}, {"$ABC*zz", false}, {"ABC*40", false},  // no "$"
        {"$ABC", false},    // no asterisk
        {"$", false},
        {"*$", false},      // the asterisk at index 0 is not examined
        {"$A*B*29", true},  // the last asterisk delimits: span "A*B"
        {"$A*B*03", false}, {std::string("$A\0B*03", 7), true},  // the API checksums a zero like any character
    };
    for (const auto& row : judged) {
        SCOPED_TRACE(row.sentence);
        if (row.sentence.find('\0') == std::string::npos) {
            EXPECT_EQ(checkCheckSum(widen(row.sentence).c_str()), row.ok ? 1 : 0);
        }
        EXPECT_EQ(quillon::checksum_ok(row.sentence), row.ok);
        EXPECT_EQ(quillon::checksum_ok(to_wide(row.sentence)), row.ok);
    }
    EXPECT_EQ(checkCheckSum(nullptr), 0);
    EXPECT_TRUE(quillon::checksum_ok(std::string_view("$PX,1,2*0B,9").substr(0, 10))) << "a view ends where it ends";
    EXPECT_EQ(quillon::with_checksum("$PX,1,2"), "$PX,1,2*0B\r\n");
    char narrow[16] = "$ABC";
    wchar_t wide[16] = L"$ABC";
    for (const std::size_t size : {9, 10}) {  // 9 leaves no room for the terminating zero
        const std::string expected = size == 9 ? "$ABC" : "$ABC*40\r\n";
        EXPECT_EQ(quillon::append_checksum(narrow, 4, size), size == 9 ? 0u : 9u);
        EXPECT_EQ(quillon::append_checksum(wide, 4, size), size == 9 ? 0u : 9u);
        EXPECT_EQ(std::string(narrow) + "|" + quillon::to_utf8(wide), expected + "|" + expected);
    }
}

// What is no character becomes U+FFFD: lone surrogates and values beyond
// U+10FFFF in wide text, and in UTF-8 each byte that starts no well-formed
// sequence (an overlong form, an encoded surrogate, a value beyond U+10FFFF).
TEST(Text, MalformedTextBecomesReplacementCharacters) {
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(quillon::to_utf8(std::wstring{wchar_t(0xD800), L'a', wchar_t(0xDC00)}), fffd + "a" + fffd);
    if (sizeof(wchar_t) == 4) {
        EXPECT_EQ(quillon::to_utf8(std::wstring(1, wchar_t(0x110000))), fffd);
        EXPECT_EQ(quillon::to_utf8(std::wstring{wchar_t(0xD83D), wchar_t(0xDE00)}), fffd + fffd) << "no pair in UTF-32";
    }
    EXPECT_EQ(quillon::to_wide("\xC0\x80" "\xED\xA0\x80" "\xF4\x90\x80\x80"), std::wstring(9, wchar_t(0xFFFD)));
    EXPECT_EQ(quillon::to_wide("\xF0\x9F\x98\x80"), quillon::to_wide(quillon::to_utf8(L"\U0001F600")));
}

template <class T>
class BreakFields : public ::testing::Test {};
template <int W>
using Width = std::integral_constant<int, W>;
using Widths = ::testing::Types<Width<20>, Width<30>, Width<80>, Width<25>>;
TYPED_TEST_SUITE(BreakFields, Widths);

// Rows of one width, filled with canaries, and two rows more than the call
// may use so that a write past the last row shows. The 25-wide form has
// 115 rows, only "," separates and blanks and ";" stay in the fields.
template <int W>
struct Rows {
    static constexpr bool fixed = W == 25;
    explicit Rows(int usable) : limit(fixed ? 115 : usable), rows(std::size_t(limit + 2)) {
        for (auto& row : rows) std::wmemset(row.c, L'#', W);
    }
    int split(const std::wstring& text, int commaOnly) {
        if constexpr (fixed) return breakFields(text.c_str(), &rows.data()->c);
        else return breakFields(text.c_str(), &rows.data()->c, limit, commaOnly);
    }
    std::vector<std::wstring> fields(int count) const {
        std::vector<std::wstring> out;
        for (int r = 0; r < count; ++r) out.emplace_back(rows[std::size_t(r)].c);
        return out;
    }
    bool inBounds() const {
        for (int r = 0; r < limit; ++r)
            if (std::wmemchr(rows[std::size_t(r)].c, L'\0', W) == nullptr) return false;
        for (std::size_t r = std::size_t(limit); r < rows.size(); ++r)
            if (std::wstring(rows[r].c, W) != std::wstring(W, L'#')) return false;
        return true;
    }
    struct Row {
        wchar_t c[W];
    };
    int limit;
    std::vector<Row> rows;
};

TYPED_TEST(BreakFields, SplitAsDocumentedCutToTheWidthAndStayInsideTheRows) {
    constexpr int W = TypeParam::value;
    const std::wstring longField = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ" + std::wstring(80, L'x');
    const std::wstring cut = longField.substr(0, W - 1);
    const struct {
        std::wstring text;
        int commaOnly;  // the 25-wide form takes the rows of 1
        std::vector<std::wstring> expected;
        std::vector<std::wstring> fixed;  // where the 25-wide form differs
    } rows[] = {
        {L"$GPGGA,123519,4807.038,N,,W,1", 1, {L"$GPGGA", L"123519", L"4807.038", L"N", L"", L"W", L"1"}, {}},
        {L"$GPGGA,123519,4807.038,N,,W,1", 0, {L"$GPGGA", L"123519", L"4807.038", L"N", L"W", L"1"}, {}},
        {L"A,,B", 0, {L"A", L"B"}, {}}, {L"A,B,", 1, {L"A", L"B", L""}, {}}, {L"A,B,", 0, {L"A", L"B", L""}, {}},
        {L",A", 0, {L"A"}, {}}, {L"A : B", 0, {L"A", L"B"}, {}}, {L"A;B", 0, {L"A", L"B"}, {}},
        {L"A;B", 1, {L"A;B"}, {}}, {L"  A", 1, {L"A"}, {}},
        {L"A,;x", 1, {L"A", L"x"}, {L"A", L";x"}},  // ";" is skipped at a field's start, but not there
        {L"A B ", 0, {L"A", L"B", L""}, {}}, {L"A  ", 0, {L"A", L"", L""}, {}}, {L" ", 0, {L"", L""}, {}},
        {L"A, ", 1, {L"A", L" "}, {}}, {L",", 1, {L"", L""}, {}}, {L"", 1, {}, {}},
        {L"$PX, 12 34 ,:x;y,,z", 1, {L"$PX", L"12 34 ", L"x;y", L"", L"z"}, {}},
        {longField + L",b c", 1, {cut, L"b c"}, {}},
        {L"\u00e9t\u00e9,\u4e2d\u6587", 1, {L"\u00e9t\u00e9", L"\u4e2d\u6587"}, {}},
        {L"A,B,C,D,E,F,G,H,I,J", 1, {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H"},  // the row limit
         {L"A", L"B", L"C", L"D", L"E", L"F", L"G", L"H", L"I", L"J"}},
    };
    for (const auto& row : rows) {
        if (Rows<W>::fixed && row.commaOnly == 0) continue;
        SCOPED_TRACE(testing::PrintToString(row.text));
        Rows<W> split(8);
        const int count = split.split(row.text, row.commaOnly);
        EXPECT_EQ(split.fields(count), Rows<W>::fixed && !row.fixed.empty() ? row.fixed : row.expected);
        for (int r = count; r < split.limit; ++r) EXPECT_EQ(split.rows[std::size_t(r)].c[0], L'\0') << "unused row " << r;
        EXPECT_TRUE(split.inBounds());
    }
    if constexpr (Rows<W>::fixed) {
        std::wstring many;
        for (int k = 0; k < 200; ++k) many += std::to_wstring(k) + L",";
        Rows<W> split(0);
        EXPECT_EQ(split.split(many, 1), 115);
        EXPECT_EQ(split.fields(115).back(), L"114");
        EXPECT_TRUE(split.inBounds());
    } else {
        Rows<W> one(1), none(0);
        EXPECT_EQ(one.split(L"A,", 1), 1) << "two fields, one row";
        EXPECT_EQ(none.split(L"A,B", 0), 0) << "below one row nothing is written";
        EXPECT_TRUE(one.inBounds() && none.inBounds());
    }
}

// The API's readers hand out whole fields, with no row to cut them.
TEST(Text, FieldReadersReadTheSameWholeFieldsInBothWidths) {
    using quillon::FieldSyntax;
    const std::string longField(100, 'x');
    const struct {
        std::string text;
        FieldSyntax syntax;
        std::vector<std::string> fields;
    } rows[] = {
        {"$GPGGA,1,,N", FieldSyntax::comma_only, {"$GPGGA", "1", "", "N"}},
        {"$P," + longField + ",1", FieldSyntax::comma_only, {"$P", longField, "1"}},
        {"A : B,,C", FieldSyntax::any_separator, {"A", "B", "C"}}, {" ", FieldSyntax::any_separator, {"", ""}},
        {"$PX, 12 34 ,:x;y,", FieldSyntax::comma_keep_blanks, {"$PX", "12 34 ", "x;y", ""}},
        {"N51\xC2\xB0,\xE2\x82\xAC 5", FieldSyntax::any_separator, {"N51\xC2\xB0", "\xE2\x82\xAC", "5"}},
        {std::string("a\0b,c", 5), FieldSyntax::comma_only, {std::string("a\0b", 3), "c"}},
        {"A,B", static_cast<FieldSyntax>(9), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const std::wstring wide = to_wide(row.text);
        quillon::FieldReader narrowReader(row.text, row.syntax);
        quillon::WideFieldReader wideReader(wide, row.syntax);
        std::vector<std::string> narrowFields, wideFields;
        std::string_view n;
        std::wstring_view w;
        while (narrowReader.next(&n)) {  // in turn: neither disturbs the other
            narrowFields.emplace_back(n);
            if (wideReader.next(&w)) wideFields.push_back(quillon::to_utf8(std::wstring(w)));
        }
        EXPECT_FALSE(wideReader.next(&w));
        EXPECT_FALSE(narrowReader.next(&n)) << "a finished reader stays finished";
        EXPECT_EQ(narrowFields, row.fields);
        EXPECT_EQ(wideFields, row.fields);
    }
}

const std::string e = "\xC3\xA9";  // one character, two bytes

std::string times(int count, const std::string& text) {
    std::string out;
    while (count-- > 0) out += text;
    return out;
}

TEST(Text, FileNamesAreCleanedThroughEveryDoor) {
    const std::string e200 = times(200, e), e151 = times(151, e), spaced = times(200, " x");
    const struct {
        std::string name, cleaned;
        int flat;  // checkDosFileName's answer; -1: not an ASCII row
    } rows[] = {
        {"my file;1.dat", "myfile1", 1}, {"my.file.txt", "my", 1}, {"C:\\data\\x.y", "Cdatax", 1}, {".hidden", "", 0},
        {"{a}[b]", "{ab]", 1}, {" \",/:;=[\\}", "", 0}, {std::string(400, 'a') + " b.txt", std::string(151, 'a'), 1},
        {spaced, std::string(151, 'x'), 1},  // removed characters do not count towards the 151
        {e200 + ".txt", e151, -1}, {times(100, "\U0001F600"), times(sizeof(wchar_t) == 2 ? 75 : 100, "\U0001F600"), -1},
        {"\xC3.txt", "\xC3", -1},  // a lead byte without its continuation is a character of its own
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name.substr(0, 20));
        if (row.flat >= 0) {
            std::wstring buffer = widen(row.name);
            EXPECT_EQ(checkDosFileName(buffer.data()), row.flat);
            EXPECT_EQ(std::wstring(buffer.c_str()), widen(row.cleaned));
        }
        EXPECT_EQ(quillon::cleaned_file_name(row.name), row.cleaned);
        std::wstring wide = to_wide(row.name);
        wide.resize(quillon::clean_file_name(wide.data(), wide.size()));
        EXPECT_EQ(wide, to_wide(row.cleaned));
    }
    // Only the given length is read; a zero ends a shorter result, and a
    // result as long as the name leaves the character after it alone.
    char buffer[] = "a b!c";
    EXPECT_EQ(quillon::clean_file_name(buffer, 3), 2u);
    EXPECT_EQ(std::string(buffer, 5), std::string("ab\0!c", 5));
    char whole[] = "abc!";
    EXPECT_EQ(quillon::clean_file_name(whole, 3), 3u);
    EXPECT_EQ(std::string(whole), "abc!");
}

// Equal bare names; order by the leading number, then by the number from
// the fifth character; FLClass, and the API in both widths.
TEST(Text, PathsCompareAndOrderAlikeThroughEveryDoor) {
    const std::string e255 = times(255, e);
    const std::string deep = "/" + std::string(300, 'd') + "/";  // beyond FLClass's 259 characters
    const struct {
        std::string a, b;
        bool same, before;
        bool flat;  // an ASCII row FLClass takes too
    } rows[] = {
        {"C:\\logs\\0012.dat", "D:\\other\\0012.txt", true, false, true}, {"0012.dat", "12.dat", false, false, true},
        {"Abc.x", "abc.x", false, false, true},
        {"/unix/path/run.1.log", "run.1.txt", true, false, true},  // the extension is after the last "."
        {"", "", true, false, true}, {"9.dat", "10.dat", false, true, true}, {"10.dat", "9.dat", false, false, true},
        {"AAAA0005", "BBBB0012", false, true, true}, {"12340002", "12340001", false, false, true},
        {"c:\\x\\7.dat", "d:\\y.5\\8", false, true, true},
        {"abcd", "abcd9", false, true, true},  // four characters: empty text, 0 < 9
        {"run.9", "run.10", true, false, true},  // extensions take no part
        {"-5.dat", "3.dat", false, true, true},
        {e + ":7.dat", "7.txt", true, false, false},      // a drive of one two-byte character
        {e + e + ":7.dat", "7.txt", false, true, false},  // two characters are no drive
        {"\xC3\x84\xC3\x84\xC3\x84\xC3\x84" "0012", "BBBB0005", false, false, false},  // the fifth character
        {deep + "7.dat", "7.txt", true, false, false}, {e255 + ".x", e255, true, false, false},
        {e255 + e + ".x", "", true, false, false},  // too long a name part splits into nothing
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.a.substr(0, 20) + " vs " + row.b.substr(0, 20));
        const std::wstring a = to_wide(row.a), b = to_wide(row.b);
        EXPECT_EQ(quillon::same_file_name(row.a, row.b), row.same);
        EXPECT_EQ(quillon::same_file_name(a, b), row.same);
        EXPECT_EQ(quillon::file_name_before(row.a, row.b), row.before);
        EXPECT_EQ(quillon::file_name_before(a, b), row.before);
        if (!row.flat) continue;
        EXPECT_EQ(FLClass(a.c_str()) == FLClass(b.c_str()), int(row.same));
        EXPECT_EQ(FLClass(b.c_str()) == FLClass(a.c_str()), int(row.same));
        EXPECT_EQ(FLClass(a.c_str()) < FLClass(b.c_str()), int(row.before));
    }
    // Each object owns its path, cut to 259 characters.
    FLClass original(L"c:\\a\\1.dat"), copy(original), assigned(L"other");
    wchar_t* buffer = assigned.path;
    assigned = original;
    EXPECT_EQ(assigned.path, buffer) << "assignment keeps its own buffer";
    original.path[0] = L'x';
    EXPECT_EQ(std::wstring(copy.path) + std::wstring(assigned.path), L"c:\\a\\1.datc:\\a\\1.dat");
    EXPECT_EQ(std::wstring(FLClass(static_cast<const wchar_t*>(nullptr)).path), L"");
    const std::wstring longPath = L"c:\\" + std::wstring(400, L'7') + L".dat";
    EXPECT_EQ(std::wstring(FLClass(FLClass(longPath.c_str())).path), longPath.substr(0, 259));
}

template <class CharT>
std::wstring written(int (*write)(CharT*, double, int), double value, int decimals) {
    CharT out[quillon::fmt::kMaxFixedChars + 8];
    const int n = write(out, value, decimals);
    return std::wstring(out, out + n);
}

// Values where the digits are most fragile: ties at each decimal count a
// few ulps either side, carries into a new digit, both ends of the fast
// path, and plain values of every magnitude.
TEST(Text, NumberWritersEqualSwprintf) {
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> exponent(-9.0, 22.0), unit(0.0, 1.0);
    std::vector<double> values = {0.0, -0.0, 0.5, 1.5, 2.5, -2.5, 0.125, 9.995, 99.5, 999999.5, 1e15, 9007199254740993.0,
                                  1e17, 1e22, 1.7976931348623157e308, 5e-324, 123456789.987654321};
    for (int i = 0; i < 20000; ++i) {
        double v = std::pow(10.0, exponent(rng)) * (i % 2 ? -1 : 1);
        const int d = i % 10;
        if (i % 3 == 0) v = (std::floor(v * std::pow(10.0, d)) + 0.5) / std::pow(10.0, d);  // a tie
        if (i % 3 == 1) v = std::pow(10.0, int(unit(rng) * 12)) - 0.5 * std::pow(10.0, -d);  // a carry
        for (int k = int(unit(rng) * 7) - 3; k != 0; k += k > 0 ? -1 : 1) v = std::nextafter(v, k > 0 ? 1e300 : -1e300);
        values.push_back(v);
    }
    int failures = 0;
    for (std::size_t i = 0; i < values.size() && failures < 10; ++i) {
        const double v = values[i];
        const int decimals = int(i % 10), width = int(i % 23);
        wchar_t expected[400], padded[400], padOut[400];
        std::swprintf(expected, 400, L"%.*f", decimals, v);
        const std::wstring narrow = written<char>(quillon::fmt::fixed<char>, v, decimals);
        const std::wstring wide = written<wchar_t>(quillon::fmt::fixed<wchar_t>, v, decimals);
        std::swprintf(padded, 400, L"%0*.*f", width, decimals, v);
        const int n = quillon::fmt::fixedZeroPadded(padOut, v, width, decimals);
        const int whole = int(std::fmod(v, 2147483647.0));
        wchar_t integer[64], integerOut[64];
        std::swprintf(integer, 64, i % 2 ? L"%0*d" : L"%*d", width, whole);
        const int m = quillon::fmt::integer(integerOut, whole, width, i % 2 == 1);
        if (narrow != expected || wide != expected || std::wstring(padOut, n) != padded ||
            std::wstring(integerOut, m) != integer)
            ADD_FAILURE() << "value " << testing::PrintToString(v) << ", " << decimals << " decimals, width " << width
                          << (++failures, "");
    }
}

}  // namespace
