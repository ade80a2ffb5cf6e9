// quillon time: one instant in every form the library knows.
#include <quillon/cpp/time.hpp>

#include <cmath>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon time [OPTIONS] [TEXT...]\n"
    "\n"
    "Writes one instant as DOS time (seconds since 1970-01-01, no leap\n"
    "seconds), month-first date-time text, calendar fields, day of year,\n"
    "Julian day number and GPS week and seconds of week (GPS time taken\n"
    "equal to DOS time at the GPS epoch: no leap-second offset).\n"
    "\n"
    "The instant is date-time TEXT, month first ('07-15-21 13:12:42.0',\n"
    "'7/15/2021 13:12'), or the numbers one of the options below names;\n"
    "without either, it is now, from the system clock.\n";

bool numbers(const std::vector<std::string>& args, std::size_t least, std::size_t most, std::vector<double>* values,
             std::string* problem) {
    if (args.size() < least || args.size() > most) {
        *problem = least == most ? "needs " + std::to_string(least) + " numbers"
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

}  // namespace

int runTime(int argc, char** argv) {
    bool gps = false, dosGiven = false, jd = false, date = false, json = false;
    CommandLine args("time", kHelp,
                     {Option::flag("gps", "GPS week and seconds of week (to the millisecond)", &gps)
                          .naming("WEEK SECONDS"),
                      Option::flag("dos", "DOS time", &dosGiven).naming("SECONDS"),
                      Option::flag("jd", "Julian day number (midnight starting that day)", &jd).naming("DAYNUMBER"),
                      Option::flag("date", "calendar fields", &date).naming("Y M D [h m s]"),
                      Option::flag("json", "one JSON object", &json)});
    args.exclusive({"gps", "dos", "jd", "date"});
    if (const auto status = args.parse(argc, argv)) return *status;
    const auto& p = args.positionals();
    std::vector<double> v;
    std::string problem;
    double dos = 0.0;
    if (gps) {
        if (!numbers(p, 2, 2, &v, &problem)) return args.usageError("--gps " + problem + ": WEEK SECONDS");
        // The conversion passes through a day count and leaves an error of
        // some microseconds (12:42.0 comes out as 12:41.999998 and would be
        // written 12:41.9); the result is rounded to the millisecond.
        dos = std::round(quillon::unix_time_of_gps(v[0], v[1]) * 1e3) / 1e3;
    } else if (dosGiven) {
        if (!numbers(p, 1, 1, &v, &problem)) return args.usageError("--dos " + problem);
        dos = v[0];
    } else if (jd) {
        if (!numbers(p, 1, 1, &v, &problem)) return args.usageError("--jd " + problem);
        if (!isWhole(v[0])) return inputError("time", "a Julian day number is a whole number, not '" + p[0] + "'");
        dos = (v[0] - quillon::kUnixEpochDay) * quillon::kSecondsPerDay;
    } else if (date) {
        if (!numbers(p, 3, 6, &v, &problem)) return args.usageError("--date " + problem + ": Y M D [h m s]");
        for (std::size_t i = 0; i < v.size() && i < 5; ++i)
            if (!isWhole(v[i])) return inputError("time", "'" + p[i] + "' is not a whole number");
        v.resize(6, 0.0);
        if (v[1] < 1 || v[1] > 12 || v[2] < 1 || v[2] > 31 || v[0] == 0)
            return inputError("time", "no such date: year " + p[0] + ", month " + p[1] + ", day " + p[2]);
        dos = quillon::unix_time({int(v[0]), int(v[1]), int(v[2]), int(v[3]), int(v[4]), v[5]});
    } else if (!p.empty()) {
        std::string joined;
        for (const std::string& a : p) joined += (joined.empty() ? "" : " ") + a;
        const quillon::Result<double> read = quillon::parse_time(joined);
        if (!read)
            return inputError("time", "'" + joined + "' is not a date-time text (month-day-year [hour minute "
                                      "second]): " + read.error().message);
        dos = *read;
    } else {
        dos = quillon::RunningClock().read();
    }

    const std::string text = quillon::format_time(dos);
    const quillon::CalendarTime calendar = quillon::calendar_time(dos);
    const int dayOfYear = quillon::day_of_year(dos);
    const int julian = quillon::julian_day_number(calendar.year, calendar.month, calendar.day);
    const quillon::GpsTime gpsTime = quillon::gps_time_of(dos);

    Output o(stdout);
    if (json) {
        o.text("{\"dos\":").jsonFixed(dos, 3).text(",\"text\":").jsonString(text);
        o.text(",\"year\":").integer(calendar.year).text(",\"month\":").integer(calendar.month);
        o.text(",\"day\":").integer(calendar.day).text(",\"hour\":").integer(calendar.hour);
        o.text(",\"minute\":").integer(calendar.minute).text(",\"second\":").jsonFixed(calendar.second, 3);
        o.text(",\"dayOfYear\":").integer(dayOfYear).text(",\"julianDay\":").integer(julian);
        o.text(",\"gpsWeek\":").jsonFixed(gpsTime.week, 0).text(",\"gpsSeconds\":").jsonFixed(gpsTime.seconds, 3);
        o.text("}\n");
    } else {
        o.column("dos time", 14).fixed(dos, 3).newline();
        o.column("text", 14).text(text).newline();
        // 2021-07-15 13:12:42.000
        o.column("date", 14).zeroPadded(calendar.year, 4).ch('-').zeroPadded(calendar.month, 2).ch('-');
        o.zeroPadded(calendar.day, 2).ch(' ').zeroPadded(calendar.hour, 2).ch(':').zeroPadded(calendar.minute, 2);
        o.ch(':').zeroPaddedFixed(calendar.second, 3, 6).newline();
        o.column("day of year", 14).integer(calendar.year).ch(' ').integer(dayOfYear).newline();
        o.column("julian day", 14).integer(julian).newline();
        o.column("gps week", 14).fixed(gpsTime.week, 0).ch(' ').fixed(gpsTime.seconds, 3).newline();
    }
    return o.flush() ? kSuccess : kBadInput;
}

}  // namespace cli
