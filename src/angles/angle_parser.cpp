// Typed angles: an optional sign or hemisphere letter, one to three numbers
// separated by white space (degrees, minutes, seconds, each may carry
// decimals), then, when no sign came first, an optional trailing sign or
// hemisphere letter. "45 30 00 N", "S45.5", "-45 30", "45 30 15.5 W rest".
// parse_angle reads what it can, as the hosts' parser; read_angle takes a
// text only when all of it is an angle.
#include <charconv>
#include <cstddef>
#include <string>
#include <string_view>

#include "text/digits.h"
#include "quillon/cpp/angles.hpp"
#include "quillon/cpp/text.hpp"

namespace quillon {
namespace {

using digits::codeOf;
using digits::isDigitOrPoint;

// Longest run of digits and points the lenient reader takes as one number;
// what follows a full run begins the next one.
constexpr std::size_t kMaxRun = 12;

// +1 for "+NnEe", -1 for "-SsWw", 0 for anything else.
int signOf(wchar_t c) {
    switch (c) {
    case L'+': case L'N': case L'n': case L'E': case L'e': return 1;
    case L'-': case L'S': case L's': case L'W': case L'w': return -1;
    default: return 0;
    }
}

// The angle of its parts, summed in the hosts' order.
double combine(int sign, double degrees, double minutes, double seconds) {
    return sign * (((minutes / 60.0) + degrees) + seconds / 3600.0);
}

// A position in a text and the steps both readers share.
template <class CharT>
class Cursor {
public:
    explicit Cursor(std::basic_string_view<CharT> text) : text_(text) {}

    std::size_t at() const { return at_; }
    void advance() { ++at_; }
    bool atEnd() const { return at_ >= text_.size(); }
    // The code of the character at the position; 0 at the end.
    wchar_t peek() const { return atEnd() ? L'\0' : codeOf(text_[at_]); }
    void skipSpace() {
        while (!atEnd() && isSpace(peek())) ++at_;
    }
    // Consumes the sign character at the position, if there is one.
    int takeSign() {
        const int sign = signOf(peek());
        if (sign != 0) ++at_;
        return sign;
    }
    // Consumes up to maxLength digits and points, copied as ASCII into run
    // (which holds maxLength); returns how many.
    std::size_t takeRun(char* run, std::size_t maxLength) {
        std::size_t length = 0;
        while (length < maxLength && isDigitOrPoint(peek())) {
            run[length++] = static_cast<char>(peek());
            ++at_;
        }
        return length;
    }

private:
    std::basic_string_view<CharT> text_;
    std::size_t at_ = 0;
};

template <class CharT>
class LenientAngleReader {
public:
    explicit LenientAngleReader(std::basic_string_view<CharT> text) : in_(text) {}

    ParsedAngle read() {
        ParsedAngle result;
        result.degrees = readDegrees();
        result.stop = in_.at();
        return result;
    }

private:
    // Consumes a run of at most kMaxRun digits and points; false when it is
    // empty.
    bool takeNumber(double* value) {
        char run[kMaxRun];
        const std::size_t length = in_.takeRun(run, kMaxRun);
        if (length == 0) return false;
        *value = digits::decimalValue(run, length);
        return true;
    }

    double readDegrees() {
        in_.skipSpace();
        if (in_.atEnd()) return 0.0;
        int sign = in_.takeSign();
        if (sign != 0) in_.skipSpace();
        if (!isDigit(in_.peek())) return 0.0;  // ".5" is not read

        double degrees = 0.0, minutes = 0.0, seconds = 0.0;
        takeNumber(&degrees);
        in_.skipSpace();
        if (takeNumber(&minutes)) {
            in_.skipSpace();
            takeNumber(&seconds);
        }
        if (sign == 0) {  // "45 30 00 N", "45-30": a trailing sign only without a leading one
            sign = 1;
            in_.skipSpace();
            const int trailing = in_.takeSign();
            if (trailing != 0) sign = trailing;
        }
        return combine(sign, degrees, minutes, seconds);
    }

    Cursor<CharT> in_;
};

// ---- the checked reader ----------------------------------------------------

std::string utf8Of(std::string_view text) { return std::string(text); }
std::string utf8Of(std::wstring_view text) { return to_utf8(text); }

// An Error whose message is before, 'quoted', and when given middle and
// 'whole', the texts in UTF-8. When the message cannot be stored, an Error of
// no_memory.
template <class CharT>
Error failure(Errc code, const char* before, std::basic_string_view<CharT> quoted, const char* middle = nullptr,
              std::basic_string_view<CharT> whole = {}) noexcept {
    try {
        std::string message = before;
        message += '\'';
        message += utf8Of(quoted);
        message += '\'';
        if (middle != nullptr) {
            message += middle;
            message += '\'';
            message += utf8Of(whole);
            message += '\'';
        }
        return make_error(code, std::move(message));
    } catch (...) {
        return make_error(Errc::no_memory, "out of memory for the message");
    }
}

// One number of a checked angle: where it is in the text and its value.
struct Component {
    std::size_t begin = 0, length = 0;
    double value = 0.0;
    bool hasPoint = false;
};

// Whether a run of digits and points has a non-zero digit before its point:
// from_chars reports overflow and underflow alike.
bool hasWholeDigits(const std::string& run) {
    for (char c : run) {
        if (c == '.') return false;
        if (c != '0') return true;
    }
    return false;
}

template <class CharT>
Result<double> readAngle(std::basic_string_view<CharT> text) noexcept {
    Cursor<CharT> in(text);
    in.skipSpace();
    int sign = in.takeSign();
    in.skipSpace();

    Component parts[3];
    int count = 0;
    while (count < 3 && isDigitOrPoint(in.peek())) {
        if (count > 0 && parts[count - 1].hasPoint)
            return failure(Errc::parse_error, "only the last number may have decimals: ", text);
        Component& part = parts[count++];
        part.begin = in.at();
        std::string run;
        try {
            for (; isDigitOrPoint(in.peek()); in.advance()) run += static_cast<char>(in.peek());
        } catch (...) {
            return make_error(Errc::no_memory, "out of memory for the number");
        }
        part.length = run.size();
        const auto read = std::from_chars(run.data(), run.data() + run.size(), part.value, std::chars_format::fixed);
        const auto used = static_cast<std::size_t>(read.ptr - run.data());
        if (used < run.size())  // "." or a second point
            return failure(Errc::parse_error, "cannot read ", text.substr(part.begin + used), " in ", text);
        if (read.ec == std::errc::result_out_of_range) {
            if (hasWholeDigits(run))
                return failure(Errc::not_finite, "", text.substr(part.begin, part.length),
                               " is beyond the double range in ", text);
            part.value = 0.0;  // hundreds of zeros after the point
        }
        part.hasPoint = run.find('.') != std::string::npos;
        in.skipSpace();
    }
    if (count == 0) return failure(Errc::parse_error, "no angle in ", text);
    if (sign == 0) {
        sign = in.takeSign();
        if (sign == 0) sign = 1;
        in.skipSpace();
    }
    if (!in.atEnd()) return failure(Errc::parse_error, "cannot read ", text.substr(in.at()), " in ", text);

    static const char* const kNotBelow60[] = {nullptr, "minutes ", "seconds "};
    for (int i = 1; i < count; ++i) {
        if (!(parts[i].value < 60.0))
            return failure(Errc::out_of_range, kNotBelow60[i], text.substr(parts[i].begin, parts[i].length),
                           " are not below 60 in ", text);
    }
    return combine(sign, parts[0].value, parts[1].value, parts[2].value);
}

}  // namespace

ParsedAngle parse_angle(std::string_view text) noexcept { return LenientAngleReader<char>(text).read(); }

ParsedAngle parse_angle(std::wstring_view text) noexcept { return LenientAngleReader<wchar_t>(text).read(); }

Result<double> read_angle(std::string_view text) noexcept { return readAngle(text); }

Result<double> read_angle(std::wstring_view text) noexcept { return readAngle(text); }

}  // namespace quillon
