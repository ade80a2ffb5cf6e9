// Month-first date-time text: "07-15-21 13:12:42.0" is written as
// "%02d-%02d-%02d %02d:%02d:%04.1f" writes it, and read back leniently.
// 0.0 stands for no time both ways.
#include <cmath>
#include <cstddef>

#include "text/chars.h"
#include "text/format.h"
#include "platform/platform.h"
#include "quillon/timescale.h"
#include "time/dos_calendar.h"

namespace {

namespace fmt = quillon::fmt;

// The text of every time from 1970 on is this long; longer texts (far
// before 1970, where hours go negative) are not written.
constexpr int kLongestTimeText = 19;

// "%04.1f" of the seconds truncated to tenths, never rounded up: 59.99 ->
// "59.9". The truncated value is the double nearest a whole count of tenths,
// so its one-decimal text is that count's digits, written directly for the
// counts of 0.0 to 99.9 s; anything else (a remainder a rounding step below
// zero) goes through the general formatter.
int writeTenths(wchar_t* out, double second) {
    const double tenths = std::floor(second * 10.0);
    if (!(tenths >= 0.0 && tenths < 1000.0)) return fmt::fixedZeroPadded(out, tenths / 10.0, 4, 1);
    const int count = static_cast<int>(tenths);
    out[0] = static_cast<wchar_t>(L'0' + count / 100);
    out[1] = static_cast<wchar_t>(L'0' + count / 10 % 10);
    out[2] = L'.';
    out[3] = static_cast<wchar_t>(L'0' + count % 10);
    return 4;
}

// "%02d" of a field: two digits for 0..99, the general writer for the rest
// (negative hours before 1970, years far outside the served ones).
int writeTwoDigits(wchar_t* out, int value) {
    if (value < 0 || value > 99) return fmt::integer(out, value, 2, true);
    out[0] = static_cast<wchar_t>(L'0' + value / 10);
    out[1] = static_cast<wchar_t>(L'0' + value % 10);
    return 2;
}

// "%02d-%02d-%02d %02d:%02d:%04.1f" into a buffer with room for any fields.
int writeFields(wchar_t* out, const quillon::time::CalendarTime& c) {
    int n = 0;
    n += writeTwoDigits(out + n, c.month);
    out[n++] = L'-';
    n += writeTwoDigits(out + n, c.day);
    out[n++] = L'-';
    n += writeTwoDigits(out + n, c.year % 100);
    out[n++] = L' ';
    n += writeTwoDigits(out + n, c.hour);
    out[n++] = L':';
    n += writeTwoDigits(out + n, c.minute);
    out[n++] = L':';
    n += writeTenths(out + n, c.second);
    return n;
}

// Reads the fields of a date-time text in order. Digits are '0'..'9'; every
// other character separates fields.
class TimeTextReader {
public:
    explicit TimeTextReader(const wchar_t* text) : text_(text) {}

    // Skips separators; false when the text ends.
    bool nextField() {
        while (!atEnd() && !quillon::isDigit(text_[at_])) ++at_;
        return !atEnd();
    }
    // Up to maxChars digits (and points when withPoint) at the position,
    // zero-terminated into run; returns how many were taken.
    std::size_t take(wchar_t* run, std::size_t maxChars, bool withPoint) {
        std::size_t length = 0;
        while (length < maxChars &&
               (quillon::isDigit(text_[at_]) || (withPoint && text_[at_] == L'.'))) {
            run[length++] = text_[at_++];
        }
        run[length] = L'\0';
        return length;
    }

private:
    bool atEnd() const { return text_[at_] == L'\0'; }

    const wchar_t* text_;
    std::size_t at_ = 0;
};

constexpr std::size_t kMonthChars = 15;
constexpr std::size_t kSecondChars = 6;

struct Fields {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
};

// "Date 7 15 21, 13h12m42s" -> 2021-07-15 13:12:42; false when no date.
bool readDate(TimeTextReader& in, Fields* f) {
    wchar_t run[kMonthChars + 1];
    if (!in.nextField()) return false;
    in.take(run, kMonthChars, true);  // "07.15.21" is all month: 7.15
    const double month = quillon::platform::wideToDouble(run);
    if (month < 1.0 || month > 12.0) return false;
    f->month = static_cast<int>(month);

    if (!in.nextField()) return false;
    in.take(run, 2, false);
    f->day = quillon::platform::wideToInt(run);
    if (f->day < 1 || f->day > 32) return false;  // 32 carries into the next month

    if (!in.nextField()) return false;
    if (in.take(run, 4, false) < 2) return false;
    long year = quillon::platform::wideToLong(run);
    if (year < 100) year += year >= 50 ? 1900 : 2000;
    if (year < 1900 || year > 2100) return false;
    f->year = static_cast<int>(year);
    return true;
}

// Optional hour, minute and second; out-of-range values wrap (25 -> 1).
void readTimeOfDay(TimeTextReader& in, Fields* f) {
    wchar_t run[kSecondChars + 1];
    if (in.nextField() && in.take(run, 2, false) > 0) f->hour = quillon::platform::wideToInt(run) % 24;
    if (in.nextField() && in.take(run, 2, false) > 0) f->minute = quillon::platform::wideToInt(run) % 60;
    if (in.nextField() && in.take(run, kSecondChars, true) > 0) {
        f->second = std::fmod(quillon::platform::wideToDouble(run), 60.0);
    }
}

}  // namespace

// 1626354762.0 -> "07-15-21 13:12:42.0"; 59.99 -> "01-01-70 00:00:59.9";
// 0.0, NaN and infinities -> "". A time whose text would pass 19 characters
// (hours -10 to -24 of a day before 1970, or days far outside the served
// years) is written as "" too, so 20 characters always suffice.
int timeToStr(wchar_t* out, double dos) {
    out[0] = L'\0';
    if (dos == 0.0 || !std::isfinite(dos)) return 0;
    wchar_t text[96];
    const int length = writeFields(text, quillon::time::splitDosTime(dos));
    if (length > kLongestTimeText) return 0;
    for (int i = 0; i < length; ++i) out[i] = text[i];
    out[length] = L'\0';
    return length;
}

// "07-15-21 13:12:42.0", "7/15/2021 13:12:42" -> 1626354762.0; "7-4-21" ->
// 2021-07-04 00:00:00; two-digit years 50..99 are 1950..1999, 00..49 are
// 2000..2049. Month 13, day 0 or 33, a year outside 1900..2100, a one- or
// three-digit year or a missing year -> 0.0.
double strToTime(const wchar_t* text) {
    TimeTextReader in(text);
    Fields f;
    if (!readDate(in, &f)) return 0.0;
    readTimeOfDay(in, &f);
    return yearMonthDayToDos(f.year, f.month, f.day, f.hour, f.minute, f.second);
}
