// Cutting a sentence into rows of fixed-width fields. The four exported forms
// differ only in the row width, the row count and which characters are
// skipped before a field or end one, so they share one scanner.
#include <cwchar>

#include "quillon/sentences.h"

namespace {

// Which characters the scanner skips before a field and which end one.
struct FieldSyntax {
    const wchar_t* skippedBefore;
    const wchar_t* endsField;
};

// Blank, ":" and ";" before a field; only "," separates, so ",," is an empty field.
constexpr FieldSyntax kCommaOnly{L" :;", L","};
// Blank, ":", ";" and "," all separate, and a run of them counts once
// (the run after a field is eaten by the skip before the next one).
constexpr FieldSyntax kAnySeparator{L" :;,", L" :;,"};
// The fixed 115-row form: blanks, ";" and ":" inside a field belong to it.
constexpr FieldSyntax kCommaFieldsKeepBlanks{L" :", L","};

constexpr int kFixedRows = 115;

bool isOneOf(wchar_t c, const wchar_t* set) { return c != L'\0' && std::wcschr(set, c) != nullptr; }

// Returns the number of fields found, at most `limit`; every row up to
// `limit` is written (rows without a field are left empty). Each row keeps
// at most Width - 1 characters of its field; the rest of the field is read
// and dropped. Nothing is written for a limit below 1.
template <int Width>
int splitFields(const wchar_t* text, wchar_t (*rows)[Width], int limit, const FieldSyntax& syntax) {
    if (limit < 1) return 0;
    for (int row = 0; row < limit; ++row) rows[row][0] = L'\0';
    if (text == nullptr) return 0;
    const std::size_t length = std::wcslen(text);
    if (length == 0) return 0;

    std::size_t i = 0;
    int count = 0;
    for (;;) {
        // The last character is never skipped: it always starts a field.
        while (i + 1 < length && isOneOf(text[i], syntax.skippedBefore)) ++i;

        wchar_t* field = rows[count];
        int kept = 0;
        if (text[i] != L',') {
            while (!isOneOf(text[i], syntax.endsField)) {
                if (kept < Width - 1) field[kept++] = text[i];
                if (++i == length) {
                    field[kept] = L'\0';
                    return count + 1;
                }
            }
        }
        field[kept] = L'\0';
        if (++count == limit) return count;
        // A separator as the last character leaves one more, empty, field.
        if (++i == length) return count + 1;
    }
}

}  // namespace

int breakFields(const wchar_t* text, wchar_t fields[][20], int limit, int commaOnly) {
    return splitFields(text, fields, limit, commaOnly != 0 ? kCommaOnly : kAnySeparator);
}

int breakFields(const wchar_t* text, wchar_t fields[][30], int limit, int commaOnly) {
    return splitFields(text, fields, limit, commaOnly != 0 ? kCommaOnly : kAnySeparator);
}

int breakFields(const wchar_t* text, wchar_t fields[][80], int limit, int commaOnly) {
    return splitFields(text, fields, limit, commaOnly != 0 ? kCommaOnly : kAnySeparator);
}

int breakFields(const wchar_t* text, wchar_t fields[][25]) {
    return splitFields(text, fields, kFixedRows, kCommaFieldsKeepBlanks);
}
