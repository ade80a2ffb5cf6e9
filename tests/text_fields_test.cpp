// Splitting sentences into rows of fixed-width fields, in all four forms.
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "quillon/sentences.h"

namespace {

constexpr wchar_t kCanary = L'#';

// Rows of one width with two extra rows of canaries after the `limit` the
// call may use, so that a write past the last row shows.
template <int Width>
struct Rows {
    explicit Rows(int usable) : limit(usable), storage(static_cast<std::size_t>(usable + 2)) {
        for (auto& row : storage)
            for (auto& c : row.chars) c = kCanary;
    }
    struct Row {
        wchar_t chars[Width];
    };
    // Rows are plain arrays, so consecutive rows are what the call indexes.
    wchar_t (*data())[Width] { return &storage.data()->chars; }
    std::wstring field(int row) const { return storage[static_cast<std::size_t>(row)].chars; }
    // Every usable row is terminated within its width and the rows after
    // them are untouched.
    bool inBounds() const {
        for (int r = 0; r < limit; ++r)
            if (std::wmemchr(storage[static_cast<std::size_t>(r)].chars, L'\0', Width) == nullptr) return false;
        for (std::size_t r = static_cast<std::size_t>(limit); r < storage.size(); ++r)
            for (wchar_t c : storage[r].chars)
                if (c != kCanary) return false;
        return true;
    }
    int limit;
    std::vector<Row> storage;
};

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

std::string joined(const std::vector<std::wstring>& fields) {
    std::string out;
    for (const auto& f : fields) out += "[" + narrow(f) + "]";
    return out;
}

struct SplitCase {
    const wchar_t* text;
    int commaOnly;
    std::vector<std::wstring> expected;
};

TEST(BreakFields, TwentyWideRowsSplitAsDocumented) {
    const SplitCase cases[] = {
        {L"$GPGGA,123519,4807.038,N,,W,1", 1, {L"$GPGGA", L"123519", L"4807.038", L"N", L"", L"W", L"1"}},
        {L"$GPGGA,123519,4807.038,N,,W,1", 0, {L"$GPGGA", L"123519", L"4807.038", L"N", L"W", L"1"}},
        {L"A,,B", 1, {L"A", L"", L"B"}},
        {L"A,,B", 0, {L"A", L"B"}},
        {L"A,B,", 1, {L"A", L"B", L""}},
        {L"A,B,", 0, {L"A", L"B", L""}},
        {L",A", 1, {L"", L"A"}},
        {L",A", 0, {L"A"}},
        {L"A : B", 0, {L"A", L"B"}},
        {L"A : B", 1, {L"A : B"}},
        {L"A;B", 0, {L"A", L"B"}},
        {L"A;B", 1, {L"A;B"}},
        {L"  A", 0, {L"A"}},
        {L"  A", 1, {L"A"}},
        {L"A B ", 0, {L"A", L"B", L""}},
        {L"A  ", 0, {L"A", L"", L""}},
        {L"A   ", 0, {L"A", L"", L""}},
        {L" ", 0, {L"", L""}},
        {L"A, ", 1, {L"A", L" "}},
        {L",", 1, {L"", L""}},
        {L",", 0, {L"", L""}},
        {L"", 1, {}},
        {L"ABCDEFGHIJKLMNOPQRSTUVWXYZ,B", 1, {L"ABCDEFGHIJKLMNOPQRS", L"B"}},
        {L"$", 1, {L"$"}},
        {L"\u00e9t\u00e9,\u4e2d\u6587", 1, {L"\u00e9t\u00e9", L"\u4e2d\u6587"}},
    };
    for (const auto& c : cases) {
        Rows<20> rows(8);
        const int count = breakFields(c.text, rows.data(), 8, c.commaOnly);
        std::vector<std::wstring> actual;
        for (int r = 0; r < count; ++r) actual.push_back(rows.field(r));
        EXPECT_EQ(joined(actual), joined(c.expected)) << "text \"" << narrow(c.text) << "\", commaOnly " << c.commaOnly;
        for (int r = count; r < 8; ++r) EXPECT_EQ(rows.field(r), L"") << "unused row " << r << " of \"" << narrow(c.text) << '"';
        EXPECT_TRUE(rows.inBounds()) << narrow(c.text);
    }
}

TEST(BreakFields, StopsAtTheFieldLimit) {
    Rows<20> two(2);
    EXPECT_EQ(breakFields(L"A,B,C", two.data(), 2, 1), 2);
    EXPECT_EQ(two.field(1), L"B");
    EXPECT_TRUE(two.inBounds());
    Rows<20> one(1);
    EXPECT_EQ(breakFields(L"A,B", one.data(), 1, 1), 1);
    EXPECT_EQ(one.field(0), L"A");
    EXPECT_TRUE(one.inBounds());
    // "A," has two fields (the empty one after the separator) but one row.
    Rows<20> single(1);
    EXPECT_EQ(breakFields(L"A,", single.data(), 1, 1), 1);
    EXPECT_TRUE(single.inBounds());
    // Below one row nothing is written.
    Rows<20> none(0);
    EXPECT_EQ(breakFields(L"A,B", none.data(), 0, 1), 0);
    EXPECT_EQ(breakFields(L"A,B", none.data(), -3, 0), 0);
    EXPECT_TRUE(none.inBounds());
}

TEST(BreakFields, WiderFormsKeepWidthLessOne) {
    const std::wstring longField(100, L'x');
    const std::wstring text = longField + L",b c";
    Rows<30> thirty(4);
    EXPECT_EQ(breakFields(text.c_str(), thirty.data(), 4, 1), 2);
    EXPECT_EQ(thirty.field(0), std::wstring(29, L'x'));
    EXPECT_EQ(thirty.field(1), L"b c");
    EXPECT_TRUE(thirty.inBounds());
    Rows<80> eighty(4);
    EXPECT_EQ(breakFields(text.c_str(), eighty.data(), 4, 0), 3);
    EXPECT_EQ(eighty.field(0), std::wstring(79, L'x'));
    EXPECT_EQ(eighty.field(2), L"c");
    EXPECT_TRUE(eighty.inBounds());
}

TEST(BreakFields, FixedFormKeepsBlanksAndSemicolonsInFields) {
    Rows<25> rows(115);
    EXPECT_EQ(breakFields(L"$PX, 12 34 ,:x;y,,z", rows.data()), 5);
    EXPECT_EQ(rows.field(0), L"$PX");
    EXPECT_EQ(rows.field(1), L"12 34 ");
    EXPECT_EQ(rows.field(2), L"x;y");
    EXPECT_EQ(rows.field(3), L"");
    EXPECT_EQ(rows.field(4), L"z");
    EXPECT_EQ(rows.field(5), L"");
    EXPECT_TRUE(rows.inBounds());
}

TEST(BreakFields, FixedFormStopsAt115Fields) {
    std::wstring text;
    for (int k = 0; k < 200; ++k) text += std::to_wstring(k) + L",";
    Rows<25> rows(115);
    EXPECT_EQ(breakFields(text.c_str(), rows.data()), 115);
    EXPECT_EQ(rows.field(114), L"114");
    EXPECT_TRUE(rows.inBounds());
}

// Hostile text: every form stays inside its rows.
TEST(BreakFields, StaysInsideRowsOnAnyText) {
    const std::wstring texts[] = {
        std::wstring(100000, L'A'),                 // very long, no comma
        std::wstring(5000, L','),                   // only separators
        std::wstring(5000, L' ') + L";:",           // only skipped characters
        std::wstring(3000, L'\u4e2d') + L"," + std::wstring(3000, L'\uffff'),
        L"$",
        L"\U0010FFFF,\U00010000",
    };
    for (const auto& text : texts) {
        for (int commaOnly : {0, 1}) {
            Rows<20> r20(8);
            const int n20 = breakFields(text.c_str(), r20.data(), 8, commaOnly);
            EXPECT_TRUE(n20 >= 0 && n20 <= 8 && r20.inBounds()) << "length " << text.size() << " gave " << n20;
            Rows<30> r30(3);
            const int n30 = breakFields(text.c_str(), r30.data(), 3, commaOnly);
            EXPECT_TRUE(n30 >= 0 && n30 <= 3 && r30.inBounds()) << "length " << text.size() << " gave " << n30;
            Rows<80> r80(1);
            const int n80 = breakFields(text.c_str(), r80.data(), 1, commaOnly);
            EXPECT_TRUE(n80 >= 0 && n80 <= 1 && r80.inBounds()) << "length " << text.size() << " gave " << n80;
        }
        Rows<25> r25(115);
        const int n25 = breakFields(text.c_str(), r25.data());
        EXPECT_TRUE(n25 >= 0 && n25 <= 115 && r25.inBounds()) << "length " << text.size() << " gave " << n25;
    }
}

}  // namespace
