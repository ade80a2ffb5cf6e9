// Time: Julian day numbers, and the primitives on seconds since 1970 that
// quillon/_time.py turns into datetime objects.
#include "common.h"

#include <cmath>

namespace quillon_python {
namespace {

// The served years, 1 to 9999: their first and last Julian day numbers.
constexpr int kFirstDay = 1721424;  // 0001-01-01 (Julian calendar)
constexpr int kLastDay = 5373484;   // 9999-12-31

int julian_day_number(int year, int month, int day) {
    require_range(year, 1, 9999, "year");
    require_range(month, 1, 12, "month");
    require_range(day, 1, 31, "day");
    return quillon::julian_day_number(year, month, day);
}

py::object civil_date(int number) {
    require_range(number, kFirstDay, kLastDay, "Julian day number");
    quillon::CivilDate date = quillon::civil_date(number);
    return named("CivilDate", date.year, date.month, date.day);
}

// GPS week and seconds of a UTC time: GPS time is ahead by the leap seconds.
py::tuple gps_of_utc(double unix_time) {
    require_finite(unix_time, "time");
    quillon::GpsTime gps = quillon::gps_time_of(unix_time + quillon::gps_utc_offset(unix_time));
    return py::make_tuple(static_cast<long long>(gps.week), gps.seconds);
}

double utc_of_gps(double week, double seconds) {
    if (!(week >= 0.0 && std::isfinite(week) && week == std::floor(week)))
        raise_value_error("a GPS week is a whole number from 0, not " + number_text(week));
    if (!(seconds >= 0.0 && seconds < 604800.0))
        raise_value_error("GPS seconds of week are at least 0 and below 604800, not " + number_text(seconds));
    return quillon::utc_of_gps_time(quillon::gps_time(week, seconds));
}

std::string format_time(double unix_time) {
    // Before 1970 the text would carry a negative hour, and the first
    // instant of 1970 is the library's "no time".
    std::string text = unix_time > 0.0 ? quillon::format_time(unix_time) : std::string();
    if (text.empty()) raise_value_error("the date-time text serves times after 1970-01-01 00:00:00 UTC");
    return text;
}

double parse_time(const py::handle& text) { return value_of(quillon::parse_time(text_arg(text, "text").bytes)); }

double read_time(const py::handle& text) { return value_of(quillon::read_time(text_arg(text, "text").bytes)); }

double read_iso_time(const py::handle& text) {
    return value_of(quillon::read_iso_time(text_arg(text, "text").bytes));
}

}  // namespace

void bind_time(py::module_& m) {
    m.def("julian_day_number", &julian_day_number, py::arg("year"), py::arg("month"), py::arg("day"));
    m.def("civil_date", &civil_date, py::arg("number"));
    m.def("gps_of_utc", &gps_of_utc, py::arg("unix_time"));
    m.def("utc_of_gps", &utc_of_gps, py::arg("week"), py::arg("seconds"));
    m.def("format_time", &format_time, py::arg("unix_time"));
    m.def("parse_time", &parse_time, py::arg("text"));
    m.def("read_time", &read_time, py::arg("text"));
    m.def("read_iso_time", &read_iso_time, py::arg("text"));
}

}  // namespace quillon_python
