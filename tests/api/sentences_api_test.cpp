// The C++ API of sentences and file names: UTF-8 and wide text agreeing,
// fields and paths read whole (no row or path buffer to cut them), views
// that are not zero-terminated, and the buffer forms' limits.
#include <gtest/gtest.h>

#include <quillon/cpp/sentences.hpp>
#include <quillon/cpp/text.hpp>

#include <string>
#include <vector>

namespace {

using quillon::FieldSyntax;
using quillon::to_wide;

TEST(FieldReader, NarrowAndWideReadTheSameWholeFields) {
    const std::string longField(100, 'x');  // longer than any row of breakFields
    struct Case {
        std::string text;
        FieldSyntax syntax;
        std::vector<std::string> fields;
    } const cases[] = {
        {"$GPGGA,1,,N", FieldSyntax::comma_only, {"$GPGGA", "1", "", "N"}},
        {"$P," + longField + ",1", FieldSyntax::comma_only, {"$P", longField, "1"}},
        {"A : B,,C", FieldSyntax::any_separator, {"A", "B", "C"}},
        {" ", FieldSyntax::any_separator, {"", ""}},
        {"$PX, 12 34 ,:x;y,", FieldSyntax::comma_keep_blanks, {"$PX", "12 34 ", "x;y", ""}},
        {"N51\xC2\xB0,\xE2\x82\xAC 5", FieldSyntax::any_separator, {"N51\xC2\xB0", "\xE2\x82\xAC", "5"}},
        {std::string("a\0b,c", 5), FieldSyntax::comma_only, {std::string("a\0b", 3), "c"}},
        {"", FieldSyntax::comma_only, {}},
        {"A,B", static_cast<FieldSyntax>(9), {}},
    };
    for (const auto& c : cases) {
        const std::wstring wide = to_wide(c.text);
        quillon::FieldReader narrowReader(c.text, c.syntax);
        quillon::WideFieldReader wideReader(wide, c.syntax);
        std::vector<std::string> narrowFields;
        std::vector<std::wstring> wideFields;
        // The two readers advance in turn: neither disturbs the other.
        for (std::string_view n; narrowReader.next(&n);) {
            narrowFields.emplace_back(n);
            std::wstring_view w;
            if (wideReader.next(&w)) wideFields.emplace_back(w);
        }
        std::wstring_view after;
        EXPECT_FALSE(wideReader.next(&after)) << c.text;
        std::string_view again;
        EXPECT_FALSE(narrowReader.next(&again)) << "a finished reader stays finished: " << c.text;
        EXPECT_EQ(narrowFields, c.fields) << c.text;
        std::vector<std::wstring> expectedWide;
        for (const auto& f : c.fields) expectedWide.push_back(to_wide(f));
        EXPECT_EQ(wideFields, expectedWide) << c.text;
    }
}

TEST(SentenceChecksum, NarrowAndWideJudgeAlike) {
    struct Case {
        std::string sentence;
        bool ok;
    } const cases[] = {
        {"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n", true},
        {"$PX,1,2*0b", true},
        {"$ABC*41", false},
        {"$*", true},
        {"ABC*40", false},
        {"$ABC", false},
        {std::string("$A\0B*03", 7), true},  // the zero is checksummed like any character
        {"$PX,1,2*0B", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quillon::checksum_ok(c.sentence), c.ok) << c.sentence;
        EXPECT_EQ(quillon::checksum_ok(to_wide(c.sentence)), c.ok) << c.sentence;
    }
    // A view ends where it ends, not at a zero or at the end of its storage.
    const std::string framed = "$PX,1,2*0B,9";
    EXPECT_TRUE(quillon::checksum_ok(std::string_view(framed).substr(0, 10)));
}

TEST(SentenceChecksum, AppendWritesTheTailOnlyWhenItFits) {
    EXPECT_EQ(quillon::with_checksum("$PX,1,2"), "$PX,1,2*0B\r\n");
    char narrow[16] = "$ABC";
    wchar_t wide[16] = L"$ABC";
    EXPECT_EQ(quillon::append_checksum(narrow, 4, 9), 0u) << "no room for the terminating zero";
    EXPECT_EQ(quillon::append_checksum(wide, 4, 9), 0u);
    EXPECT_EQ(std::string(narrow), "$ABC");
    EXPECT_EQ(std::wstring(wide), L"$ABC");
    EXPECT_EQ(quillon::append_checksum(narrow, 4, 10), 9u);
    EXPECT_EQ(quillon::append_checksum(wide, 4, 10), 9u);
    EXPECT_EQ(std::string(narrow), "$ABC*40\r\n");
    EXPECT_EQ(std::wstring(wide), L"$ABC*40\r\n");
    EXPECT_EQ(quillon::append_checksum(static_cast<char*>(nullptr), 0, 0), 0u);
}

TEST(FileNames, CleanKeeps151WholeCharactersInBothForms) {
    const std::string e = "\xC3\xA9";  // one character, two bytes
    std::string e200, e151;
    for (int k = 0; k < 200; ++k) e200 += e;
    for (int k = 0; k < 151; ++k) e151 += e;
    struct Case {
        std::string name;
        std::string cleaned;
    } const cases[] = {
        {"my file;1.dat", "myfile1"},
        {"C:\\data\\x.y", "Cdatax"},
        {e200 + ".txt", e151},
        {".hidden", ""},
        {"\xC3.txt", "\xC3"},  // a lead byte without its continuation is a character of its own
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quillon::cleaned_file_name(c.name), c.cleaned) << c.name;
        std::wstring wide = to_wide(c.name);
        wide.resize(quillon::clean_file_name(wide.data(), wide.size()));
        EXPECT_EQ(wide, to_wide(c.cleaned)) << c.name;
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

TEST(FileNames, NarrowAndWideSplitAndOrderPathsAlike) {
    const std::string e = "\xC3\xA9";
    std::string e255, e256;
    for (int k = 0; k < 255; ++k) e255 += e;
    e256 = e255 + e;
    const std::string deep = "/" + std::string(300, 'd') + "/";  // beyond FLClass's 259 characters
    struct Case {
        std::string a, b;
        bool same, before;
    } const cases[] = {
        {"C:\\logs\\0012.dat", "D:\\other\\0012.txt", true, false},
        {"9.dat", "10.dat", false, true},
        {e + ":7.dat", "7.txt", true, false},                   // a drive of one two-byte character
        {e + e + ":7.dat", "7.txt", false, true},               // two characters are no drive
        {"\xC3\x84\xC3\x84\xC3\x84\xC3\x84" "0012", "BBBB0005", false, false},  // the fifth character, not byte
        {"BBBB0005", "\xC3\x84\xC3\x84\xC3\x84\xC3\x84" "0012", false, true},
        {deep + "7.dat", "7.txt", true, false},
        {e255 + ".x", e255, true, false},
        {e256 + ".x", "", true, false},                          // too long a name part splits into nothing
        {e256 + "9", "8", false, true},
    };
    for (const auto& c : cases) {
        const std::wstring a = to_wide(c.a), b = to_wide(c.b);
        EXPECT_EQ(quillon::same_file_name(c.a, c.b), c.same) << c.a << " == " << c.b;
        EXPECT_EQ(quillon::same_file_name(a, b), c.same) << c.a << " == " << c.b;
        EXPECT_EQ(quillon::file_name_before(c.a, c.b), c.before) << c.a << " < " << c.b;
        EXPECT_EQ(quillon::file_name_before(a, b), c.before) << c.a << " < " << c.b;
    }
}

}  // namespace
