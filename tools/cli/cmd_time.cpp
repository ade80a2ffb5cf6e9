// quillon time: one instant as UTC and GPS time side by side, and in every
// other form the library knows.
#include <quillon/cpp/time.hpp>

#include <cmath>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon time [OPTIONS] [TEXT...]\n"
    "\n"
    "Writes one instant as UTC and as GPS time, with GPS - UTC (the leap\n"
    "seconds since 1980, 18 s since 2017), as Unix time (seconds since\n"
    "1970-01-01 00:00:00 UTC without leap seconds; the host applications\n"
    "call it DOS time), as the hosts' month-first text, day of year, Julian\n"
    "day number, Julian date, modified Julian date (MJD), and GPS week and\n"
    "seconds of week.\n"
    "\n"
    "The instant is TEXT in UTC, month first ('07-15-21 13:12:42.0',\n"
    "'7/15/2021 13:12') or ISO 8601 ('2021-07-15T13:12:42Z', '2021-07-15\n"
    "13:12:42', '2021-07-15T15:12:42+02:00'), or the numbers one of the\n"
    "options below names; without either, it is now, from the system clock.\n"
    "Every field is checked (25:00, 13:61 and February 30 are errors), and\n"
    "so is every character of the text. Dates before 1582-10-15 are in the\n"
    "Julian calendar; years 1 to 9999 are served.\n";

// The numbers of an option's positional arguments; false with a reason.
bool numbers(const std::vector<std::string>& args, std::size_t least, std::size_t most, std::vector<double>* values,
             std::string* problem) {
    if (args.size() < least || args.size() > most) {
        *problem = least == most ? "needs " + std::to_string(least) + " number" + (least > 1 ? "s" : "")
                                 : "needs " + std::to_string(least) + " to " + std::to_string(most) + " numbers";
        return false;
    }
    for (const std::string& a : args) {
        double v = 0.0;
        if (!parseDouble(a, &v)) {
            *problem = "'" + a + "' is not a number";
            return false;
        }
        values->push_back(v);
    }
    return true;
}

bool isWhole(double v) { return v == std::floor(v) && std::fabs(v) < 2e9; }

// value with `decimals` decimals, trailing zeros and point dropped:
// 1626354762.500000 -> "1626354762.5".
std::string trimmed(double value, int decimals) {
    std::string text = fixedText(value, decimals);
    if (text.find('.') == std::string::npos) return text;
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string padded(int value, int width) {
    std::string digits = std::to_string(value);
    return std::string(digits.size() < std::size_t(width) ? std::size_t(width) - digits.size() : 0, '0') + digits;
}

// "2021-07-15 13:12:42.000" (or with 'T') of a time rounded to the
// millisecond, so that 59.9996 s does not show as "60.000".
std::string calendarText(double t, char between) {
    const quillon::CalendarTime c = quillon::calendar_time(std::round(t * 1000.0) / 1000.0);
    const std::string second = fixedText(c.second, 3);
    return padded(c.year, 4) + "-" + padded(c.month, 2) + "-" + padded(c.day, 2) + between + padded(c.hour, 2) + ":" +
           padded(c.minute, 2) + ":" + (second.size() < 6 ? "0" : "") + second;
}

// The hosts' month-first text, "07-15-21 13:12:42.0", seconds truncated to
// tenths; "" outside 1950..2049, where its two-digit year would read back
// as another century.
std::string hostText(double t) {
    const quillon::CalendarTime c = quillon::calendar_time(t);
    if (c.year < 1950 || c.year > 2049) return "";
    const std::string second = fixedText(std::floor(c.second * 10.0) / 10.0, 1);
    return padded(c.month, 2) + "-" + padded(c.day, 2) + "-" + padded(c.year % 100, 2) + " " + padded(c.hour, 2) +
           ":" + padded(c.minute, 2) + ":" + (second.size() < 4 ? "0" : "") + second;
}

// Whether a date-time text is ISO 8601: it starts with a year of 4 digits
// and a "-".
bool looksIso(const std::string& text) {
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text.size() < start + 5) return false;
    for (std::size_t i = start; i < start + 4; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return text[start + 4] == '-';
}

// What was given, so that its own row shows the number as typed.
enum class Given { now, text, gps, unixTime, dayNumber, julianDate, mjd, date };

}  // namespace

int runTime(int argc, char** argv) {
    bool gps = false, unixGiven = false, dosGiven = false, jd = false, julianDate = false, mjd = false, date = false,
         json = false;
    CommandLine args("time", kHelp,
                     {Option::flag("gps", "GPS week and seconds of week, GPS time", &gps).naming("WEEK SECONDS"),
                      Option::flag("unix", "Unix time, seconds since 1970-01-01 00:00:00 UTC", &unixGiven)
                          .naming("SECONDS"),
                      Option::flag("dos", "the same as --unix (the host applications' name)", &dosGiven)
                          .naming("SECONDS"),
                      Option::flag("jd", "Julian day number of a UTC day: its midnight", &jd).naming("DAYNUMBER"),
                      Option::flag("julian-date", "Julian date, days and fraction from noon", &julianDate)
                          .naming("JD"),
                      Option::flag("mjd", "modified Julian date, JD - 2400000.5", &mjd).naming("MJD"),
                      Option::flag("date", "calendar fields in UTC", &date).naming("Y M D [h m s]"),
                      Option::flag("json", "one JSON object", &json)});
    args.exclusive({"gps", "unix", "dos", "jd", "julian-date", "mjd", "date"});
    if (const auto status = args.parse(argc, argv)) return *status;
    const auto& p = args.positionals();
    std::vector<double> v;
    std::string problem;
    double utc = 0.0;
    double gpsTime = 0.0;  // on the GPS scale, when given
    Given given = Given::now;
    const char* option = gps ? "--gps" : unixGiven ? "--unix" : dosGiven ? "--dos" : jd ? "--jd"
                       : julianDate ? "--julian-date" : mjd ? "--mjd" : "--date";
    if (gps) {
        if (!numbers(p, 2, 2, &v, &problem)) return args.usageError("--gps " + problem + ": WEEK SECONDS");
        if (!isWhole(v[0]) || v[0] < 0)
            return inputError("time", "a GPS week is a whole number from 0, not '" + p[0] + "'");
        if (!(v[1] >= 0.0 && v[1] < 604800.0))
            return inputError("time", "GPS seconds of week are at least 0 and below 604800, not '" + p[1] + "'");
        given = Given::gps;
        gpsTime = quillon::gps_time(v[0], v[1]);
        utc = quillon::utc_of_gps_time(gpsTime);
    } else if (unixGiven || dosGiven || julianDate || mjd) {
        if (!numbers(p, 1, 1, &v, &problem)) return args.usageError(option + (" " + problem));
        given = unixGiven || dosGiven ? Given::unixTime : julianDate ? Given::julianDate : Given::mjd;
        utc = given == Given::unixTime ? v[0]
            : given == Given::julianDate ? quillon::unix_time_of_julian_date(v[0])
                                         : quillon::unix_time_of_modified_julian_date(v[0]);
    } else if (jd) {
        if (!numbers(p, 1, 1, &v, &problem)) return args.usageError("--jd " + problem);
        if (!isWhole(v[0]))
            return inputError("time", "a Julian day number is a whole number, not '" + p[0] +
                                          "' (for a Julian date with a fraction, use --julian-date)");
        given = Given::dayNumber;
        utc = (v[0] - quillon::kUnixEpochDay) * quillon::kSecondsPerDay;
    } else if (date) {
        if (!numbers(p, 3, 6, &v, &problem)) return args.usageError("--date " + problem + ": Y M D [h m s]");
        for (std::size_t i = 0; i < v.size() && i < 5; ++i)
            if (!isWhole(v[i])) return inputError("time", "'" + p[i] + "' is not a whole number");
        v.resize(6, 0.0);
        const quillon::Result<double> checked =
            quillon::checked_unix_time({int(v[0]), int(v[1]), int(v[2]), int(v[3]), int(v[4]), v[5]});
        if (!checked) return inputError("time", "--date: " + checked.error().message);
        given = Given::date;
        utc = *checked;
    } else if (!p.empty()) {
        std::string joined;
        for (const std::string& a : p) joined += (joined.empty() ? "" : " ") + a;
        const bool iso = looksIso(joined);
        const quillon::Result<double> read = iso ? quillon::read_iso_time(joined) : quillon::read_time(joined);
        if (!read)
            return inputError("time", "'" + joined + "': " + withoutTyped(read.error(), joined) +
                                          (iso ? " (ISO 8601: 2021-07-15T13:12:42Z)"
                                               : " (month-day-year [hh:mm[:ss]] in UTC, or ISO 8601)"));
        given = Given::text;
        utc = *read;
    } else {
        utc = quillon::RunningClock().read();
    }
    // The times served: from 0001-01-01 to the end of 9999-12-31.
    const double first = quillon::unix_time({1, 1, 1, 0, 0, 0.0});
    const double end = quillon::unix_time({9999, 12, 31, 0, 0, 0.0}) + quillon::kSecondsPerDay;
    if (!(utc >= first && utc < end)) {
        const std::string what = given == Given::text ? "the time" : std::string(option);
        return inputError("time", what + " gives a time outside the years 1 to 9999");
    }

    const bool hasGps = utc >= quillon::kGpsEpochUnixTime;
    const int leap = quillon::gps_utc_offset(utc);
    if (given != Given::gps) gpsTime = utc + leap;
    const quillon::GpsTime week = quillon::gps_time_of(gpsTime);
    const quillon::CalendarTime calendar = quillon::calendar_time(utc);
    const int dayOfYear = quillon::day_of_year(utc);
    const int julian = quillon::julian_day_number(calendar.year, calendar.month, calendar.day);
    const double jdValue = quillon::julian_date(utc), mjdValue = quillon::modified_julian_date(utc);
    const std::string text = hostText(utc);
    // A row shows the number as given, to all its digits, or the one
    // computed, to a microsecond (Julian dates to 1e-8 day, 0.9 ms).
    const auto shown = [&](Given row, double value, int decimals) {
        return given == row ? shortestText(value) : trimmed(value, decimals);
    };
    const std::string unixText = shown(Given::unixTime, utc, 6);
    const std::string gpsSeconds = given == Given::gps ? shortestText(v[1]) : trimmed(week.seconds, 6);

    Output o(stdout);
    if (json) {
        o.text("{\"unix\":").text(unixText).text(",\"utc\":").jsonString(calendarText(utc, 'T') + "Z");
        o.text(",\"gps\":");
        hasGps ? o.jsonString(calendarText(gpsTime, 'T')) : o.text("null");
        o.text(",\"gpsMinusUtc\":").integer(leap).text(",\"text\":");
        text.empty() ? o.text("null") : o.jsonString(text);
        o.text(",\"year\":").integer(calendar.year).text(",\"month\":").integer(calendar.month);
        o.text(",\"day\":").integer(calendar.day).text(",\"hour\":").integer(calendar.hour);
        o.text(",\"minute\":").integer(calendar.minute).text(",\"second\":").jsonShortest(calendar.second);
        o.text(",\"dayOfYear\":").integer(dayOfYear).text(",\"julianDay\":").integer(julian);
        o.text(",\"julianDate\":").jsonShortest(jdValue).text(",\"mjd\":").jsonShortest(mjdValue);
        if (hasGps)
            o.text(",\"gpsWeek\":").fixed(week.week, 0).text(",\"gpsSeconds\":").text(gpsSeconds);
        else
            o.text(",\"gpsWeek\":null,\"gpsSeconds\":null");
        o.text("}\n");
        return o.flush() ? kSuccess : kBadInput;
    }
    // utc           2021-07-15 13:12:42.000
    // gps           2021-07-15 13:13:00.000  (GPS - UTC = 18 s)
    o.column("utc", 14).text(calendarText(utc, ' ')).newline();
    o.column("gps", 14);
    if (hasGps) {
        o.text(calendarText(gpsTime, ' ')).text("  (GPS - UTC = ").integer(leap).text(" s");
        if (utc >= quillon::kLeapSecondsKnownUntil) o.text("; leap seconds after 2026-06-28 are not known");
        o.ch(')');
    } else {
        o.text("-  (before the GPS epoch, 1980-01-06)");
    }
    o.newline();
    o.column("unix time", 14).text(unixText).newline();
    o.column("text", 14).text(text.empty() ? "-  (its two-digit years are 1950..2049)" : text).newline();
    o.column("day of year", 14).integer(calendar.year).ch(' ').integer(dayOfYear).newline();
    o.column("julian day", 14).integer(julian).newline();
    o.column("julian date", 14).text(shown(Given::julianDate, jdValue, 8)).newline();
    o.column("mjd", 14).text(shown(Given::mjd, mjdValue, 8)).newline();
    o.column("gps week", 14);
    if (hasGps)
        o.fixed(week.week, 0).ch(' ').text(gpsSeconds);
    else
        o.text("-");
    o.newline();
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
