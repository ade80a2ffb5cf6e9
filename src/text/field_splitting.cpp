// Cutting a sentence into fields. The three syntaxes differ only in which
// characters are skipped before a field and which end one, so one scanner,
// specialised for each, serves them all.
#include <quillon/cpp/sentences.hpp>

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

template class BasicFieldReader<char>;
template class BasicFieldReader<wchar_t>;

}  // namespace quillon
