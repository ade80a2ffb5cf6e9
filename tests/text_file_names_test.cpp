// File names: the clean-up of a proposed name and FLClass's equality and
// numeric ordering of paths.
#include <gtest/gtest.h>

#include <string>

#include "quillon/sentences.h"

namespace {

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

TEST(CheckDosFileName, DropsExtensionAndForbiddenCharacters) {
    struct Case {
        const wchar_t* name;
        const wchar_t* reduced;
        int expected;
    } const cases[] = {
        {L"my file;1.dat", L"myfile1", 1},
        {L"my.file.txt", L"my", 1},
        {L"C:\\data\\x.y", L"Cdatax", 1},
        {L".hidden", L"", 0},
        {L"{a}[b]", L"{ab]", 1},
        {L" \",/:;=[\\}", L"", 0},
        {L"", L"", 0},
        {L"\u00e9t\u00e9 1", L"\u00e9t\u00e91", 1},
    };
    for (const auto& c : cases) {
        std::wstring buffer = c.name;
        EXPECT_EQ(checkDosFileName(buffer.data()), c.expected) << narrow(c.name);
        EXPECT_EQ(narrow(buffer.c_str()), narrow(c.reduced)) << narrow(c.name);
    }
}

TEST(CheckDosFileName, LongNameIsCutTo151Characters) {
    std::wstring buffer = std::wstring(400, L'a') + L" b.txt";
    EXPECT_EQ(checkDosFileName(buffer.data()), 1);
    EXPECT_EQ(std::wstring(buffer.c_str()), std::wstring(151, L'a'));
    // Removed characters do not count towards the 151.
    std::wstring spaced;
    for (int k = 0; k < 200; ++k) spaced += L" x";
    EXPECT_EQ(checkDosFileName(spaced.data()), 1);
    EXPECT_EQ(std::wstring(spaced.c_str()), std::wstring(151, L'x'));
}

TEST(FLClass, EqualityComparesBareNames) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } const cases[] = {
        {L"C:\\logs\\0012.dat", L"D:\\other\\0012.txt", 1},
        {L"0012.dat", L"12.dat", 0},
        {L"Abc.x", L"abc.x", 0},
        {L"/unix/path/run.1.log", L"run.1.txt", 1},  // the extension is after the last "."
        {L"run.1.log", L"run.1", 0},
        {L"", L"", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FLClass(c.a) == FLClass(c.b), c.expected) << narrow(c.a) << " == " << narrow(c.b);
        EXPECT_EQ(FLClass(c.b) == FLClass(c.a), c.expected) << narrow(c.b) << " == " << narrow(c.a);
    }
}

TEST(FLClass, OrdersByLeadingNumberThenNumberFromFifthCharacter) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
        int expected;
    } const cases[] = {
        {L"9.dat", L"10.dat", 1},
        {L"10.dat", L"9.dat", 0},
        {L"AAAA0005", L"BBBB0012", 1},
        {L"BBBB0012", L"AAAA0005", 0},
        {L"12340001", L"12340002", 1},
        {L"12340002", L"12340001", 0},
        {L"c:\\x\\7.dat", L"d:\\y.5\\8", 1},
        {L"abc", L"abd", 0},            // short names: both keys 0
        {L"abcd", L"abcd9", 1},         // four characters: empty text, 0 < 9
        {L"run.9", L"run.10", 0},       // extensions take no part
        {L"-5.dat", L"3.dat", 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FLClass(c.a) < FLClass(c.b), c.expected) << narrow(c.a) << " < " << narrow(c.b);
}

TEST(FLClass, EachObjectOwnsItsPath) {
    FLClass empty;
    EXPECT_EQ(std::wstring(empty.path), L"");
    FLClass original(L"c:\\a\\1.dat");
    FLClass copy(original);
    EXPECT_NE(copy.path, original.path);
    EXPECT_EQ(std::wstring(copy.path), L"c:\\a\\1.dat");
    FLClass assigned(L"other");
    wchar_t* buffer = assigned.path;
    assigned = original;
    EXPECT_EQ(assigned.path, buffer) << "assignment keeps its own buffer";
    EXPECT_EQ(std::wstring(assigned.path), L"c:\\a\\1.dat");
    original.path[0] = L'x';
    EXPECT_EQ(std::wstring(copy.path), L"c:\\a\\1.dat");
    FLClass none(static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(std::wstring(none.path), L"");
}

TEST(FLClass, PathLongerThan259IsCut) {
    const std::wstring longPath = L"c:\\" + std::wstring(400, L'7') + L".dat";
    FLClass cut(longPath.c_str());
    EXPECT_EQ(std::wstring(cut.path), longPath.substr(0, 259));
    FLClass copy(cut);
    EXPECT_EQ(std::wstring(copy.path), longPath.substr(0, 259));
    EXPECT_EQ(cut == copy, 1);
    // The 256-character name is beyond the runtime's 255-character limit for
    // a name part, so the path splits into nothing and its key is 0.
    EXPECT_EQ(cut < FLClass(L"8"), 1);
}

}  // namespace
