// Angles, latitudes and longitudes as text, and typed angles read back.
#include "common.h"

#include <cmath>

namespace quillon_python {
namespace {

// The library writes zeros for angles it cannot write; here they are errors.
void check_angle(double degrees, int decimals, double limit, const char* what) {
    require_finite(degrees, what);
    if (std::fabs(degrees) > limit)
        raise_value_error(std::string(what) + " " + number_text(degrees) + " is outside -" +
                          std::to_string(static_cast<long long>(limit)) + ".." +
                          std::to_string(static_cast<long long>(limit)));
    require_range(decimals, 0, 6, "decimals");
}

std::string format_angle(double degrees, int decimals, const std::string& style) {
    // From 2^31 degrees on, the whole degrees no longer fit the text.
    check_angle(degrees, decimals, 2147483647.0, "angle");
    return quillon::format_angle(degrees, decimals, style_arg(style));
}

std::string format_lat(double degrees, int decimals, const std::string& style) {
    check_angle(degrees, decimals, 90.0, "latitude");
    return quillon::format_latitude(degrees, decimals, style_arg(style));
}

std::string format_lon(double degrees, int decimals, const std::string& style) {
    check_angle(degrees, decimals, 180.0, "longitude");
    return quillon::format_longitude(degrees, decimals, style_arg(style));
}

py::object parse_angle(const py::handle& text) {
    Text in = text_arg(text, "text");
    quillon::ParsedAngle parsed = quillon::parse_angle(in.bytes);
    return named("ParsedAngle", parsed.degrees, in.index(parsed.stop));
}

double read_angle(const py::handle& text) { return value_of(quillon::read_angle(text_arg(text, "text").bytes)); }

double read_latitude(const py::handle& text) { return value_of(quillon::read_latitude(text_arg(text, "text").bytes)); }

double read_longitude(const py::handle& text) {
    return value_of(quillon::read_longitude(text_arg(text, "text").bytes));
}

}  // namespace

quillon::AngleStyle style_arg(const std::string& style) {
    if (style == "dms") return quillon::AngleStyle::dms;
    if (style == "dm") return quillon::AngleStyle::dm;
    raise_value_error("style must be 'dms' or 'dm', not '" + style + "'");
}

void bind_angles(py::module_& m) {
    m.def("format_angle", &format_angle, py::arg("degrees"), py::arg("decimals"), py::arg("style"));
    m.def("format_lat", &format_lat, py::arg("degrees"), py::arg("decimals"), py::arg("style"));
    m.def("format_lon", &format_lon, py::arg("degrees"), py::arg("decimals"), py::arg("style"));
    m.def("parse_angle", &parse_angle, py::arg("text"));
    m.def("read_angle", &read_angle, py::arg("text"));
    m.def("read_latitude", &read_latitude, py::arg("text"));
    m.def("read_longitude", &read_longitude, py::arg("text"));
}

}  // namespace quillon_python
