// Typed angles: an optional sign or hemisphere letter, one to three numbers
// (degrees, minutes, seconds), then, when no sign came first, an optional
// trailing sign or hemisphere letter. "45 30 00 N", "S45.5", "-45 30", "45
// 30 15.5 W rest". parse_angle reads what it can, as the hosts' parser, with
// blanks between the numbers; read_angle and its latitude and longitude
// forms take a text only when all of it is an angle, and take the marked
// forms users copy from elsewhere too: 45°30'15", 45d30m15s, 45:30:15.
#include <charconv>
#include <cmath>
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
// 'whole' (a text with data, empty or not), the texts in UTF-8. When the message cannot be stored, an Error of
// no_memory.
template <class CharT>
Error failure(Errc code, const char* before, std::basic_string_view<CharT> quoted, const char* middle = nullptr,
              std::basic_string_view<CharT> whole = {}) noexcept {
    try {
        std::string message = before;
        message += '\'';
        message += utf8Of(quoted);
        message += '\'';
        if (middle != nullptr) message += middle;
        if (whole.data() != nullptr) {
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
    bool fractional = false;  // decimals or an exponent
};

// A mark after a number in the angle's text, in UTF-8 and as a wide text
// (every one lies in the Basic Multilingual Plane).
struct Mark {
    const char* narrow;
    const wchar_t* wide;
};

const char* textOf(const Mark& m, char) { return m.narrow; }
const wchar_t* textOf(const Mark& m, wchar_t) { return m.wide; }

// How the numbers of a checked angle are marked, told by what follows the
// degrees: "45 30 15", "45°30'15"", "45d30m15s" or "45:30:15". Each style
// has the marks that may follow the degrees, minutes and seconds.
struct MarkStyle {
    const Mark* marks[3];
    std::size_t counts[3];
};

constexpr Mark kDegreeSigns[] = {{"\xC2\xB0", L"\u00B0"}};
constexpr Mark kMinuteSigns[] = {{"'", L"'"}, {"\xE2\x80\xB2", L"\u2032"}, {"\xE2\x80\x99", L"\u2019"}};
constexpr Mark kSecondSigns[] = {
    {"''", L"''"}, {"\"", L"\""}, {"\xE2\x80\xB3", L"\u2033"}, {"\xE2\x80\x9D", L"\u201D"}};
constexpr Mark kDegreeLetters[] = {{"d", L"d"}, {"D", L"D"}};
constexpr Mark kMinuteLetters[] = {{"m", L"m"}, {"M", L"M"}};
constexpr Mark kSecondLetters[] = {{"s", L"s"}, {"S", L"S"}};
constexpr Mark kColon[] = {{":", L":"}};

constexpr MarkStyle kSigns = {{kDegreeSigns, kMinuteSigns, kSecondSigns}, {1, 3, 4}};
constexpr MarkStyle kLetters = {{kDegreeLetters, kMinuteLetters, kSecondLetters}, {2, 2, 2}};
constexpr MarkStyle kColons = {{kColon, kColon, nullptr}, {1, 1, 0}};

// Consumes one of the marks at the cursor; false when none is there.
template <class CharT>
bool takeMark(Cursor<CharT>& in, std::basic_string_view<CharT> text, const Mark* marks, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::basic_string_view<CharT> mark = textOf(marks[i], CharT());
        if (text.substr(in.at(), mark.size()) != mark) continue;
        for (std::size_t k = 0; k < mark.size(); ++k) in.advance();
        return true;
    }
    return false;
}

// Whether a run of digits and points has a non-zero digit before its point:
// from_chars reports overflow and underflow alike.
bool hasWholeDigits(const std::string& run) {
    for (char c : run) {
        if (c == '.') return false;
        if (c != '0') return true;
    }
    return false;
}

// What a hemisphere letter makes of an angle.
enum class Hemisphere { none, north_south, east_west };

// What the checked readers ask for: any angle, or a latitude or longitude.
enum class Wanted { angle, latitude, longitude };

Hemisphere hemisphereOf(wchar_t c) {
    switch (c) {
    case L'N': case L'n': case L'S': case L's': return Hemisphere::north_south;
    case L'E': case L'e': case L'W': case L'w': return Hemisphere::east_west;
    default: return Hemisphere::none;
    }
}

// Reads the number at the cursor: digits and points, and an exponent when
// an "e" is followed by digits ("1e2", "1.5E-05"; "45e" is 45 east).
template <class CharT>
Status readNumber(Cursor<CharT>& in, std::basic_string_view<CharT> text, Component* part) noexcept {
    part->begin = in.at();
    std::string run;
    bool exponent = false, negativeExponent = false;
    try {
        for (; isDigitOrPoint(in.peek()); in.advance()) run += static_cast<char>(in.peek());
        if (in.peek() == L'e' || in.peek() == L'E') {
            const std::basic_string_view<CharT> after = text.substr(in.at() + 1);
            const std::size_t signs = !after.empty() && (after[0] == CharT('+') || after[0] == CharT('-')) ? 1 : 0;
            exponent = after.size() > signs && isDigit(codeOf(after[signs]));
        }
        if (exponent) {
            run += 'e';
            in.advance();
            negativeExponent = in.peek() == L'-';
            if (in.peek() == L'-' || in.peek() == L'+') {
                run += static_cast<char>(in.peek());
                in.advance();
            }
            for (; isDigit(in.peek()); in.advance()) run += static_cast<char>(in.peek());
        }
    } catch (...) {
        return make_error(Errc::no_memory, "out of memory for the number");
    }
    part->length = in.at() - part->begin;
    const auto read = std::from_chars(run.data(), run.data() + run.size(), part->value, std::chars_format::general);
    const auto used = static_cast<std::size_t>(read.ptr - run.data());
    if (used < run.size())  // "." or a second point
        return failure(Errc::parse_error, "cannot read ", text.substr(part->begin + used), " in ", text);
    if (read.ec == std::errc::result_out_of_range) {
        if (exponent ? !negativeExponent : hasWholeDigits(run))
            return failure(Errc::not_finite, "", text.substr(part->begin, part->length),
                           " is beyond the double range in ", text);
        part->value = 0.0;  // hundreds of zeros after the point, or a large negative exponent
    }
    part->fractional = exponent || run.find('.') != std::string::npos;
    return {};
}

template <class CharT>
Result<double> readAngle(std::basic_string_view<CharT> text, Wanted wanted) noexcept {
    Cursor<CharT> in(text);
    in.skipSpace();
    Hemisphere hemisphere = hemisphereOf(in.peek());
    int sign = in.takeSign();
    in.skipSpace();

    Component parts[3];
    int count = 0;
    const MarkStyle* style = nullptr;  // none: numbers separated by blanks
    while (count < 3 && isDigitOrPoint(in.peek())) {
        if (count > 0 && parts[count - 1].fractional)
            return failure(Errc::parse_error, "only the last number may have decimals: ", text);
        const Status number = readNumber(in, text, &parts[count]);
        if (!number) return number.error();
        bool marked = false;
        if (count == 0) {
            for (const MarkStyle* s : {&kSigns, &kLetters, &kColons})
                if (!marked && takeMark(in, text, s->marks[0], s->counts[0])) {
                    style = s;
                    marked = true;
                }
        } else if (style != nullptr) {
            marked = takeMark(in, text, style->marks[count], style->counts[count]);
        }
        ++count;
        if (style == &kColons && marked && !isDigitOrPoint(in.peek()))  // "45:" wants minutes
            return failure(Errc::parse_error, "cannot read ", text.substr(in.at() - 1), " in ", text);
        if (style != nullptr && !marked) break;  // the last number may go without its mark: "45°30"
        if (style != &kColons) in.skipSpace();
    }
    if (count == 0) return failure(Errc::parse_error, "no angle in ", text);
    in.skipSpace();
    if (sign == 0) {
        hemisphere = hemisphereOf(in.peek());
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
    const double degrees = combine(sign, parts[0].value, parts[1].value, parts[2].value);
    if (wanted == Wanted::latitude && hemisphere == Hemisphere::east_west)
        return failure(Errc::parse_error, "a latitude is north or south, not east or west: ", text);
    if (wanted == Wanted::longitude && hemisphere == Hemisphere::north_south)
        return failure(Errc::parse_error, "a longitude is east or west, not north or south: ", text);
    const bool latitude = wanted == Wanted::latitude || hemisphere == Hemisphere::north_south;
    const bool longitude = wanted == Wanted::longitude || hemisphere == Hemisphere::east_west;
    if (latitude && !(std::fabs(degrees) <= 90.0))
        return failure(Errc::out_of_range, "a latitude beyond 90 degrees: ", text);
    if (longitude && !(std::fabs(degrees) <= 180.0))
        return failure(Errc::out_of_range, "a longitude beyond 180 degrees: ", text);
    return degrees;
}

}  // namespace

ParsedAngle parse_angle(std::string_view text) noexcept { return LenientAngleReader<char>(text).read(); }

ParsedAngle parse_angle(std::wstring_view text) noexcept { return LenientAngleReader<wchar_t>(text).read(); }

Result<double> read_angle(std::string_view text) noexcept { return readAngle(text, Wanted::angle); }

Result<double> read_angle(std::wstring_view text) noexcept { return readAngle(text, Wanted::angle); }

Result<double> read_latitude(std::string_view text) noexcept { return readAngle(text, Wanted::latitude); }

Result<double> read_latitude(std::wstring_view text) noexcept { return readAngle(text, Wanted::latitude); }

Result<double> read_longitude(std::string_view text) noexcept { return readAngle(text, Wanted::longitude); }

Result<double> read_longitude(std::wstring_view text) noexcept { return readAngle(text, Wanted::longitude); }

}  // namespace quillon
