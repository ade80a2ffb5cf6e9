// Month-first date-time text: "07-15-21 13:12:42.0" as printf's
// "%02d-%02d-%02d %02d:%02d:%04.1f" writes it, and read back leniently.
// 0.0 stands for no time both ways.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "text/digits.h"
#include "quillon/cpp/time.hpp"
#include "time/dos_calendar.h"

namespace quillon {
namespace {

using digits::codeOf;

// Room for the text of any fields: six numbers of at most 11 characters
// and five separators. Only texts of up to kMaxTimeText are written out.
constexpr std::size_t kFieldsRoom = 72;

// "%02d" of a field: two digits for 0..99 (every field of the times from
// 1970 on), the sign and digits of anything else, which are two characters
// at least (negative hours before 1970, years far outside the served ones).
template <class CharT>
CharT* putField(CharT* out, int value) {
    if (value >= 0 && value <= 99) {
        *out++ = CharT('0' + value / 10);
        *out++ = CharT('0' + value % 10);
        return out;
    }
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (const char* p = digits; p < end; ++p) *out++ = CharT(*p);
    return out;
}

// "%04.1f" of the seconds truncated to tenths, never rounded up: 59.99 ->
// "59.9". The truncated value is the double nearest a whole count of tenths,
// so its one-decimal text is that count's digits, written directly for the
// counts of 0.0 to 99.9 s; anything else (a remainder a rounding step below
// zero) goes through the exact conversion, zero-padded after its sign.
template <class CharT>
CharT* putTenths(CharT* out, double second) {
    const double scaled = second * 10.0;
    if (scaled >= 0.0 && scaled < 1000.0) {  // its floor is the truncation
        const int count = static_cast<int>(scaled);
        *out++ = CharT('0' + count / 100);
        *out++ = CharT('0' + count / 10 % 10);
        *out++ = CharT('.');
        *out++ = CharT('0' + count % 10);
        return out;
    }
    const double tenths = std::floor(scaled);
    char digits[32];  // the seconds of a day's remainder: a few digits
    const auto end = std::to_chars(digits, digits + sizeof digits, tenths / 10.0, std::chars_format::fixed, 1).ptr;
    const char* p = digits;
    if (*p == '-') *out++ = CharT(*p++);
    for (auto fill = 4 - (end - digits); fill > 0; --fill) *out++ = CharT('0');
    for (; p < end; ++p) *out++ = CharT(*p);
    return out;
}

// The text of a time into out, which holds kFieldsRoom; returns its length,
// which passes kMaxTimeText only for hours -10 to -24 of days before 1970
// and for days far outside the served years.
template <class CharT>
std::size_t timeText(CharT* out, const CalendarTime& c) {
    CharT* end = out;
    end = putField(end, c.month);
    *end++ = CharT('-');
    end = putField(end, c.day);
    *end++ = CharT('-');
    end = putField(end, c.year % 100);
    *end++ = CharT(' ');
    end = putField(end, c.hour);
    *end++ = CharT(':');
    end = putField(end, c.minute);
    *end++ = CharT(':');
    end = putTenths(end, c.second);
    return static_cast<std::size_t>(end - out);
}

// 1626354762.0 -> "07-15-21 13:12:42.0"; 0.0, NaN, infinities and texts
// past kMaxTimeText -> "".
template <class CharT>
std::size_t writeTime(CharT* out, std::size_t size, double t) {
    std::size_t length = 0;
    CharT text[kFieldsRoom];
    if (t != 0.0 && std::isfinite(t)) {
        length = timeText(text, time::splitTime(t));
        if (length > kMaxTimeText) length = 0;
    }
    if (length >= size) {
        if (size > 0) out[0] = CharT(0);
        return 0;
    }
    for (std::size_t i = 0; i < length; ++i) out[i] = text[i];
    out[length] = CharT(0);
    return length;
}

// ---- reading ---------------------------------------------------------------

// Reads the fields of a date-time text in order. Digits are '0'..'9'; every
// other character separates fields.
template <class CharT>
class TimeTextReader {
public:
    explicit TimeTextReader(std::basic_string_view<CharT> text) : text_(text) {}

    // Skips separators; false when the text ends.
    bool nextField() {
        while (!atEnd() && !isDigit(codeOf(text_[at_]))) ++at_;
        return !atEnd();
    }
    // Up to maxChars digits (and points when withPoint) at the position,
    // copied as ASCII into run, zero-terminated; returns how many were taken.
    std::size_t take(char* run, std::size_t maxChars, bool withPoint) {
        std::size_t length = 0;
        while (length < maxChars && !atEnd()) {
            const wchar_t c = codeOf(text_[at_]);
            if (!(isDigit(c) || (withPoint && c == L'.'))) break;
            run[length++] = static_cast<char>(c);
            ++at_;
        }
        run[length] = '\0';
        return length;
    }

private:
    bool atEnd() const { return at_ >= text_.size(); }

    std::basic_string_view<CharT> text_;
    std::size_t at_ = 0;
};

constexpr std::size_t kMonthChars = 15;
constexpr std::size_t kSecondChars = 6;

// "month 13 is not 1..12": the field's name, the run as typed and what is
// wrong with it. The run holds at most kMonthChars, so the message fits.
Error fieldError(Errc code, const char* field, const char* run, const char* complaint) noexcept {
    char message[96];
    std::size_t n = 0;
    for (const char* part : {field, " ", run, " ", complaint}) {
        while (*part != '\0' && n + 1 < sizeof message) message[n++] = *part++;
    }
    message[n] = '\0';
    return make_error(code, message);
}

// "Date 7 15 21, 13h12m42s" -> 2021-07-15 13:12:42.
template <class CharT>
Result<double> parseTime(std::basic_string_view<CharT> text) {
    TimeTextReader<CharT> in(text);
    CalendarTime c;
    char run[kMonthChars + 1];

    if (!in.nextField()) return make_error(Errc::parse_error, "no month");
    const double month = digits::decimalValue(run, in.take(run, kMonthChars, true));  // "07.15.21" is all month
    if (month < 1.0 || month > 12.0) return fieldError(Errc::out_of_range, "month", run, "is not 1..12");
    c.month = static_cast<int>(month);

    if (!in.nextField()) return make_error(Errc::parse_error, "no day");
    c.day = digits::digitsValue(run, in.take(run, 2, false));
    if (c.day < 1 || c.day > 32) return fieldError(Errc::out_of_range, "day", run, "is not 1..32");

    if (!in.nextField()) return make_error(Errc::parse_error, "no year");
    const std::size_t yearDigits = in.take(run, 4, false);
    if (yearDigits < 2) return fieldError(Errc::parse_error, "year", run, "has fewer than 2 digits");
    c.year = digits::digitsValue(run, yearDigits);
    if (c.year < 100) c.year += c.year >= 50 ? 1900 : 2000;
    if (c.year < 1900 || c.year > 2100) return fieldError(Errc::out_of_range, "year", run, "is outside 1900..2100");

    // Optional hour, minute and second (0 when absent); out-of-range values
    // wrap (25 -> 1).
    if (in.nextField()) c.hour = digits::digitsValue(run, in.take(run, 2, false)) % 24;
    if (in.nextField()) c.minute = digits::digitsValue(run, in.take(run, 2, false)) % 60;
    if (in.nextField()) c.second = std::fmod(digits::decimalValue(run, in.take(run, kSecondChars, true)), 60.0);
    return unix_time(c);
}

}  // namespace

std::size_t write_time(char* out, std::size_t size, double unix_time) noexcept {
    return writeTime(out, size, unix_time);
}

std::size_t write_time(wchar_t* out, std::size_t size, double unix_time) noexcept {
    return writeTime(out, size, unix_time);
}

Result<double> parse_time(std::string_view text) noexcept { return parseTime(text); }

Result<double> parse_time(std::wstring_view text) noexcept { return parseTime(text); }

}  // namespace quillon
