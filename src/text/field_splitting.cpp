// Cutting a sentence into fields. The three syntaxes differ only in which
// characters are skipped before a field and which end one, so one scanner,
// specialised for each, serves them all.
#include <quillon/cpp/sentences.hpp>

#include "text/field_rows.h"

namespace quillon {
namespace {

// Blank, ":" and ";" before a field; only "," separates, so ",," is an empty field.
struct CommaOnly {
    template <class Char>
    static bool skipped(Char c) {
        return c == Char(' ') || c == Char(':') || c == Char(';');
    }
    template <class Char>
    static bool endsField(Char c) {
        return c == Char(',');
    }
};

// Blank, ":", ";" and "," all separate, and a run of them counts once (the
// run after a field is eaten by the skip before the next one).
struct AnySeparator {
    template <class Char>
    static bool skipped(Char c) {
        return c == Char(' ') || c == Char(':') || c == Char(';') || c == Char(',');
    }
    template <class Char>
    static bool endsField(Char c) {
        return skipped(c);
    }
};

// Blanks and ":" before a field; blanks, ":" and ";" inside a field belong to it.
struct CommaKeepBlanks {
    template <class Char>
    static bool skipped(Char c) {
        return c == Char(' ') || c == Char(':');
    }
    template <class Char>
    static bool endsField(Char c) {
        return c == Char(',');
    }
};

// Reads the field that starts at *at. Every syntax ends a field at ",", so a
// field that starts there is empty. Only the separator that ended the field
// is consumed; when it was the last character, *at reaches the end and the
// caller gives one more, empty, field.
template <class Syntax, class Char>
std::basic_string_view<Char> readField(std::basic_string_view<Char> text, std::size_t* at, bool* done) {
    const Char* const data = text.data();
    const std::size_t length = text.size();
    std::size_t i = *at;
    // The last character is never skipped: it always starts a field.
    while (i + 1 < length && Syntax::skipped(data[i])) ++i;
    const std::size_t start = i;
    while (!Syntax::endsField(data[i])) {
        if (++i == length) {
            *done = true;
            return {data + start, length - start};
        }
    }
    *at = i + 1;
    return {data + start, i - start};
}

}  // namespace

template <class Char>
BasicFieldReader<Char>::BasicFieldReader(std::basic_string_view<Char> text, FieldSyntax syntax) noexcept
    : text_(text), syntax_(syntax), done_(text.empty()) {}

template <class Char>
bool BasicFieldReader<Char>::next(std::basic_string_view<Char>* field) noexcept {
    if (done_) return false;
    if (at_ == text_.size()) {
        // The empty field after a separator that ends the text.
        done_ = true;
        *field = text_.substr(at_);
        return true;
    }
    switch (syntax_) {
    case FieldSyntax::comma_only:
        *field = readField<CommaOnly>(text_, &at_, &done_);
        break;
    case FieldSyntax::any_separator:
        *field = readField<AnySeparator>(text_, &at_, &done_);
        break;
    case FieldSyntax::comma_keep_blanks:
        *field = readField<CommaKeepBlanks>(text_, &at_, &done_);
        break;
    default:
        done_ = true;
        return false;
    }
    return true;
}

namespace {

// One pass: a field's characters go straight into its row while the
// separators are looked for, and the end of the text is its terminating
// zero rather than a length measured beforehand. The rules are readField's.
template <class Syntax>
int fillRows(const wchar_t* p, wchar_t* rows, std::size_t width, int limit) {
    int count = 0;
    if (*p != L'\0') {
        const std::size_t room = width - 1;
        for (; count < limit; ++count) {
            wchar_t* row = rows + std::size_t(count) * width;
            if (*p == L'\0') {  // the empty field after a separator that ends the text
                row[0] = L'\0';
                ++count;
                break;
            }
            while (p[1] != L'\0' && Syntax::skipped(*p)) ++p;
            std::size_t kept = 0;
            for (wchar_t c = *p; c != L'\0' && !Syntax::endsField(c); c = *++p)
                if (kept < room) row[kept++] = c;
            row[kept] = L'\0';
            if (*p == L'\0') {
                ++count;
                break;
            }
            ++p;
        }
    }
    for (int r = count; r < limit; ++r) rows[std::size_t(r) * width] = L'\0';
    return count;
}

}  // namespace

namespace text {

int fieldsIntoRows(const wchar_t* text, wchar_t* rows, std::size_t width, int limit, FieldSyntax syntax) noexcept {
    if (limit < 1) return 0;
    if (text == nullptr) {
        for (int r = 0; r < limit; ++r) rows[std::size_t(r) * width] = L'\0';
        return 0;
    }
    switch (syntax) {
    case FieldSyntax::comma_only: return fillRows<CommaOnly>(text, rows, width, limit);
    case FieldSyntax::any_separator: return fillRows<AnySeparator>(text, rows, width, limit);
    case FieldSyntax::comma_keep_blanks: return fillRows<CommaKeepBlanks>(text, rows, width, limit);
    default: return fillRows<CommaOnly>(L"", rows, width, limit);
    }
}

}  // namespace text

template class BasicFieldReader<char>;
template class BasicFieldReader<wchar_t>;

}  // namespace quillon
