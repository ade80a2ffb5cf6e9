// Dates and times a user typed, read strictly: every field within its
// range and every character of the text accounted for, so that "25:00" or
// "February 30" is an error rather than a time of the next day.
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#include "quillon/cpp/time.hpp"
#include "text/chars.h"

namespace quillon {
namespace {

const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

bool isLeapYear(int year) {
    if (year < 0) ++year;  // 1 BC is year 0 of the arithmetic, a leap year
    if (year <= 1582) return year % 4 == 0;
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// The shortest text of a number, for messages, without allocating.
struct NumberText {
    template <class T>
    explicit NumberText(T value) : length(std::size_t(std::to_chars(text, text + sizeof text, value).ptr - text)) {}
    operator std::string_view() const { return {text, length}; }
    char text[32];
    std::size_t length;
};

// An Error whose message is the pieces joined; no_memory when it cannot be
// stored.
template <class... Pieces>
Error error(Errc code, const Pieces&... pieces) noexcept {
    try {
        std::string message;
        ((message += std::string_view(pieces)), ...);
        return make_error(code, std::move(message));
    } catch (...) {
        return make_error(Errc::no_memory, "out of memory for the message");
    }
}

// "hour 25 is not 0..23" for a whole field outside low..high.
Error fieldOutside(const char* field, int value, int low, int high) noexcept {
    return error(Errc::out_of_range, field, " ", NumberText(value), " is not ", NumberText(low), "..",
                 NumberText(high));
}

bool isDigitChar(char c) { return isDigit(static_cast<unsigned char>(c)); }

// A position in a typed text, for the two readers below.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return at_ >= text_.size(); }
    char peek(std::size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    void skipBlanks() {
        while (!atEnd() && isSpace(static_cast<unsigned char>(text_[at_]))) ++at_;
    }
    bool take(char c) {
        if (atEnd() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    // A field of minDigits..maxDigits digits not followed by another digit,
    // into *value; returns how many digits, or 0 (and reads nothing) when
    // the count is outside that range.
    int field(int* value, int minDigits, int maxDigits) {
        const std::size_t start = at_;
        int count = 0;
        *value = 0;
        while (count <= maxDigits && isDigitChar(peek())) {
            *value = *value * 10 + (text_[at_++] - '0');
            ++count;
        }
        if (count >= minDigits && count <= maxDigits) return count;
        at_ = start;
        return 0;
    }
    // Exactly count digits into *value, whatever follows; false (reading
    // nothing) when there are fewer.
    bool digits(int* value, int count) {
        for (int k = 0; k < count; ++k)
            if (!isDigitChar(peek(std::size_t(k)))) return false;
        *value = 0;
        for (int k = 0; k < count; ++k) *value = *value * 10 + (text_[at_++] - '0');
        return true;
    }
    // Seconds: a field of minDigits..2 digits, then optional decimals after
    // "." (or ","); false (reading nothing) when malformed.
    bool seconds(double* value, int minDigits) {
        const std::size_t start = at_;
        int whole = 0;
        if (field(&whole, minDigits, 2) == 0) return false;
        *value = whole;
        if (peek() != '.' && peek() != ',') return true;
        std::string run = "0.";
        try {
            for (++at_; isDigitChar(peek()); ++at_) run += text_[at_];
        } catch (...) {
            at_ = start;  // out of memory: reported as unread
            return false;
        }
        if (run.size() == 2) {
            at_ = start;
            return false;
        }
        double fraction = 0.0;
        std::from_chars(run.data(), run.data() + run.size(), fraction, std::chars_format::fixed);
        *value += fraction;
        return true;
    }
    // The error for the text that could not be read from the position on:
    // "cannot read 'PM' in '07-15-21 1:12 PM'", or "'07-15' ends before its
    // year" when nothing is left.
    Error failure(const char* expected) const noexcept {
        if (!atEnd()) return error(Errc::parse_error, "cannot read '", text_.substr(at_), "' in '", text_, "'");
        if (text_.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos)
            return error(Errc::parse_error, "no ", expected, " in '", text_, "'");
        return error(Errc::parse_error, "'", text_, "' ends before its ", expected);
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

// The time of day after a date: hh:mm with an optional :ss[.fff]; hours,
// minutes and the seconds' whole part of minDigits to 2 digits. On failure
// *expected names the field that could not be read.
bool timeOfDay(Scanner& in, CalendarTime* c, int minDigits, const char** expected) {
    *expected = "hour";
    if (in.field(&c->hour, minDigits, 2) == 0) return false;
    *expected = "minute";
    if (!in.take(':') || in.field(&c->minute, minDigits, 2) == 0) return false;
    *expected = "second";
    return !in.take(':') || in.seconds(&c->second, minDigits);
}

// "+02:00", "+0200", "+02", "-05:30" after an ISO time, at the sign, into
// minutes east of UTC.
Status zoneOffset(Scanner& in, double* minutes) {
    const double sign = in.take('-') ? -1.0 : (in.take('+'), 1.0);
    int hours = 0, mins = 0;
    if (!in.digits(&hours, 2)) return in.failure("zone offset");
    if ((in.take(':') || isDigitChar(in.peek())) && in.field(&mins, 2, 2) == 0) return in.failure("zone offset");
    if (hours > 23) return fieldOutside("offset hour", hours, 0, 23);
    if (mins > 59) return fieldOutside("offset minute", mins, 0, 59);
    *minutes = sign * (60.0 * hours + mins);
    return {};
}

}  // namespace

int days_in_month(int year, int month) noexcept {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year == 0 || month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

Result<double> checked_unix_time(const CalendarTime& t) noexcept {
    if (t.year < 1 || t.year > 9999) return fieldOutside("year", t.year, 1, 9999);
    if (t.month < 1 || t.month > 12) return fieldOutside("month", t.month, 1, 12);
    const int days = days_in_month(t.year, t.month);
    if (t.day < 1 || t.day > days)
        return error(Errc::out_of_range, "day ", NumberText(t.day), " is not 1..", NumberText(days), " in ",
                     kMonthNames[t.month - 1], " ", NumberText(t.year));
    if (t.year == 1582 && t.month == 10 && t.day >= 5 && t.day <= 14)
        return error(Errc::out_of_range, t.day < 10 ? "1582-10-0" : "1582-10-", NumberText(t.day),
                     " was skipped by the change to the Gregorian calendar");
    if (t.hour < 0 || t.hour > 23) return fieldOutside("hour", t.hour, 0, 23);
    if (t.minute < 0 || t.minute > 59) return fieldOutside("minute", t.minute, 0, 59);
    if (!(t.second >= 0.0 && t.second < 60.0))
        return error(Errc::out_of_range, "second ", NumberText(t.second), " is not at least 0 and below 60");
    return unix_time(t);
}

Result<double> read_time(std::string_view text) noexcept {
    Scanner in(text);
    CalendarTime c;
    in.skipBlanks();
    if (in.field(&c.month, 1, 2) == 0) return in.failure("month");
    const char separator = in.peek();
    // Not ".": dotted dates are day first where they are written.
    if (separator != '-' && separator != '/') return in.failure("day");
    in.take(separator);
    if (in.field(&c.day, 1, 2) == 0) return in.failure("day");
    if (!in.take(separator)) return in.failure("year");
    const int yearDigits = in.field(&c.year, 2, 2) != 0 ? 2 : in.field(&c.year, 4, 4) != 0 ? 4 : 0;
    if (yearDigits == 2) {
        c.year += c.year >= 50 ? 1900 : 2000;
    } else if (yearDigits == 0) {
        return in.failure("year");
    } else if (c.year < 1900 || c.year > 2100) {
        return error(Errc::out_of_range, "year ", NumberText(c.year), " is outside 1900..2100");
    }
    const char* expected = "end";
    in.skipBlanks();
    if (!in.atEnd() && !timeOfDay(in, &c, 1, &expected)) return in.failure(expected);
    in.skipBlanks();
    if (!in.atEnd()) return in.failure("end");
    return checked_unix_time(c);
}

Result<double> read_iso_time(std::string_view text) noexcept {
    Scanner in(text);
    CalendarTime c;
    in.skipBlanks();
    if (in.field(&c.year, 4, 4) == 0) return in.failure("year");
    if (!in.take('-') || in.field(&c.month, 2, 2) == 0) return in.failure("month");
    if (!in.take('-') || in.field(&c.day, 2, 2) == 0) return in.failure("day");
    double offsetMinutes = 0.0;
    // The time follows a "T", or a single blank before a digit.
    if (in.take('T') || in.take('t') || (isDigitChar(in.peek(1)) && in.take(' '))) {
        const char* expected = "time";
        if (!timeOfDay(in, &c, 2, &expected)) return in.failure(expected);
        if (!in.take('Z') && !in.take('z') && (in.peek() == '+' || in.peek() == '-')) {
            const Status zone = zoneOffset(in, &offsetMinutes);
            if (!zone) return zone.error();
        }
    }
    in.skipBlanks();
    if (!in.atEnd()) return in.failure("end");
    if (c.year < 1583)
        return error(Errc::out_of_range, "year ", NumberText(c.year), " is before 1583 (ISO 8601 dates are Gregorian)");
    const Result<double> t = checked_unix_time(c);
    if (!t) return t;
    return *t - 60.0 * offsetMinutes;
}

}  // namespace quillon
