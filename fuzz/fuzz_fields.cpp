// Every form of breakFields on any text, with any field limit and either
// separator mode, into rows allocated to exactly the limit: the count never
// passes the limit, every row is terminated within its width, rows after
// the last field are empty, no row holds a character that ends a field, and
// where only "," separates, the count is the number of commas plus one.
#include <cwchar>

#include "fuzz_support.h"
#include "quillon/sentences.h"

namespace {

constexpr wchar_t kUnwritten = 0x2A2A;  // fills each row beforehand, to see whether it was terminated
constexpr int kFixedRows = 115;

bool holdsFill(const fuzz::ExactText& text) { return std::wcschr(text.get(), kUnwritten) != nullptr; }

template <int Width>
void checkRows(const wchar_t (*rows)[Width], int limit, int count, const wchar_t* endsField,
               const fuzz::ExactText& text) {
    for (int r = count; r < limit; ++r)
        FUZZ_CHECK(rows[r][0] == L'\0', "text %s: row %d after the %d fields is not empty", SHOWN(text), r, count);
    for (int r = 0; r < count; ++r) {
        const wchar_t* row = rows[r];
        int length = 0;
        while (length < Width && row[length] != L'\0') ++length;
        FUZZ_CHECK(length < Width, "text %s: row %d of width %d is not terminated", SHOWN(text), r, Width);
        for (int i = 0; i < length; ++i) {
            FUZZ_CHECK(row[i] != kUnwritten || holdsFill(text), "text %s: row %d holds unwritten characters", SHOWN(text), r);
            FUZZ_CHECK(std::wcschr(endsField, row[i]) == nullptr, "text %s: row %d holds the separator %#x",
                       SHOWN(text), r, unsigned(row[i]));
        }
    }
}

template <int Width>
std::unique_ptr<wchar_t[][Width]> freshRows(int count) {
    std::unique_ptr<wchar_t[][Width]> rows(new wchar_t[count][Width]);
    std::wmemset(rows[0], kUnwritten, std::size_t(count) * Width);
    return rows;
}

template <int Width>
int splitWithLimit(const fuzz::ExactText& text, int limit, int commaOnly) {
    auto rows = freshRows<Width>(limit);
    const int count = breakFields(text.get(), rows.get(), limit, commaOnly);
    FUZZ_CHECK(count >= 0 && count <= limit, "text %s: %d fields for a limit of %d", SHOWN(text), count, limit);
    checkRows<Width>(rows.get(), limit, count, commaOnly != 0 ? L"," : L" :;,", text);
    return count;
}

int splitFixed(const fuzz::ExactText& text) {
    auto rows = freshRows<25>(kFixedRows);
    const int count = breakFields(text.get(), rows.get());
    FUZZ_CHECK(count >= 0 && count <= kFixedRows, "text %s: %d fields in 115 rows", SHOWN(text), count);
    checkRows<25>(rows.get(), kFixedRows, count, L",", text);
    return count;
}

int split(const fuzz::ExactText& text, int form, int limit, int commaOnly) {
    switch (form) {
    case 0: return splitWithLimit<20>(text, limit, commaOnly);
    case 1: return splitWithLimit<30>(text, limit, commaOnly);
    case 2: return splitWithLimit<80>(text, limit, commaOnly);
    default: return splitFixed(text);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const int form = in.inRange(0, 3);
    const int limit = in.inRange(1, 130);
    const int commaOnly = in.inRange(0, 2);  // 2: any non-zero value means comma-only
    fuzz::ExactText text = fuzz::exactCopy(fuzz::wideText(in));

    const int count = split(text, form, limit, commaOnly);
    const int rowLimit = form == 3 ? kFixedRows : limit;
    FUZZ_CHECK((count == 0) == (text.length == 0), "text %s of length %zu: %d fields", SHOWN(text), text.length,
               count);
    if (text.length > 0 && (form == 3 || commaOnly != 0)) {
        int commas = 0;
        for (std::size_t i = 0; i < text.length; ++i) commas += text.get()[i] == L',';
        const int expected = commas + 1 < rowLimit ? commas + 1 : rowLimit;
        FUZZ_CHECK(count == expected, "text %s, form %d, limit %d: %d commas, %d fields", SHOWN(text), form + 1,
                   rowLimit, commas, count);
    }
    if (text.hasTail) {
        fuzz::ExactText alone = fuzz::truncatedCopy(text);
        FUZZ_CHECK(split(alone, form, limit, commaOnly) == count,
                   "text %s: characters after the terminator changed the count", SHOWN(text));
    }
    return 0;
}
