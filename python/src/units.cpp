// Units of length: typed lengths, lengths as text, and the display and entry
// settings of a settings file.
#include "common.h"

#include <array>

namespace quillon_python {
namespace {

py::object parse_length(const py::handle& text, const py::handle& unit) {
    Text in = text_arg(text, "text");
    quillon::ParsedLength parsed = quillon::parse_length(in.bytes, unit_arg(unit));
    return named("ParsedLength", parsed.meters, in.index(parsed.stop));
}

double read_length(const py::handle& text, const py::handle& unit) {
    return value_of(quillon::read_length(text_arg(text, "text").bytes, unit_arg(unit)));
}

std::string format_length(double meters, const py::handle& unit, const py::object& decimals) {
    require_finite(meters, "meters");
    int index = unit_arg(unit);
    int places = quillon::unit_info(index).decimals;
    if (!decimals.is_none()) {
        places = cast_arg<int>(decimals, "decimals", "a whole number");
        require_range(places, 0, 9, "decimals");
    }
    return quillon::format_length(meters, index, places);
}

using Settings = std::array<int, quillon::Units::kCount>;

Settings settings_of(const quillon::Units& units) {
    Settings values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = *units.setting(i);
    return values;
}

quillon::Units units_of(const Settings& values) {
    require_range(values[0], 0, quillon::kUnitCount - 1, "dist_units");
    require_range(values[1], 0, quillon::kUnitCount - 1, "wp_units");
    quillon::Units units;
    for (std::size_t i = 0; i < values.size(); ++i) *units.setting(i) = values[i];
    return units;
}

quillon::Units load_units(const py::handle& path, bool check) {
    std::string name = path_arg(path);
    if (check) return value_of(quillon::Units::read(name));
    return quillon::Units::load(name);
}

std::string repr(const quillon::Units& units) {
    std::string text = "Units(";
    const char* names[] = {"dist_units",       "wp_units",         "lat_lon_style",    "default_lat_hemi",
                           "default_lon_hemi", "default_entry",    "default_dist_calc"};
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) {
        if (i > 0) text += ", ";
        text += names[i];
        text += "=" + std::to_string(*units.setting(i));
    }
    return text + ")";
}

}  // namespace

void bind_units(py::module_& m) {
    m.def("parse_length", &parse_length, py::arg("text"), py::arg("unit"));
    m.def("read_length", &read_length, py::arg("text"), py::arg("unit"));
    m.def("format_length", &format_length, py::arg("meters"), py::arg("unit"),
          py::arg("decimals"));

    py::class_<quillon::Units>(m, "Units", R"(The seven display and entry settings kept in section [units] of a
settings (INI) file: the unit of distances and of waypoint distances
(0 metres, 1 feet, 2 US survey feet, 3 kilometres, 4 nautical miles),
the latitude and longitude style (0 degrees minutes seconds, otherwise
degrees and decimal minutes) and four codes of the hosts kept as they
are. A plain value: copies, comparisons and pickling work field by field.)")
        .def(py::init([](int dist_units, int wp_units, int lat_lon_style, int default_lat_hemi, int default_lon_hemi,
                         int default_entry, int default_dist_calc) {
                 return units_of({dist_units, wp_units, lat_lon_style, default_lat_hemi, default_lon_hemi,
                                  default_entry, default_dist_calc});
             }),
             py::arg("dist_units") = 0, py::arg("wp_units") = 0, py::arg("lat_lon_style") = 0,
             py::arg("default_lat_hemi") = 0, py::arg("default_lon_hemi") = 0, py::arg("default_entry") = 0,
             py::arg("default_dist_calc") = 0,
             "Settings with the values given (all 0 by default: metres, degrees minutes seconds). Raises\n"
             "ValueError for a unit index outside 0..4.")
        .def_property(
            "dist_units", [](const quillon::Units& u) { return u.dist_units; },
            [](quillon::Units& u, int value) {
                require_range(value, 0, quillon::kUnitCount - 1, "dist_units");
                u.dist_units = value;
            },
            "Unit index of distances, 0..4 (key distUnits); ValueError outside.")
        .def_property(
            "wp_units", [](const quillon::Units& u) { return u.wp_units; },
            [](quillon::Units& u, int value) {
                require_range(value, 0, quillon::kUnitCount - 1, "wp_units");
                u.wp_units = value;
            },
            "Unit index of waypoint distances, 0..4 (key wpUnits); ValueError outside.")
        .def_readwrite("lat_lon_style", &quillon::Units::lat_lon_style,
                       "0 degrees minutes seconds, otherwise degrees and decimal minutes (key latLonStyle).")
        .def_readwrite("default_lat_hemi", &quillon::Units::default_lat_hemi,
                       "The hosts' default latitude hemisphere code, kept as is (key defaultLatHemi).")
        .def_readwrite("default_lon_hemi", &quillon::Units::default_lon_hemi,
                       "The hosts' default longitude hemisphere code, kept as is (key defaultLonHemi).")
        .def_readwrite("default_entry", &quillon::Units::default_entry,
                       "The hosts' geographic or grid entry code (key defaultEntry).")
        .def_readwrite("default_dist_calc", &quillon::Units::default_dist_calc,
                       "The hosts' distance calculation code, kept as is (key defaultDistCalc).")
        .def_static("load", &load_units, py::arg("path"), py::arg("check") = true,
                    R"(Reads the settings from a file (str, bytes or os.PathLike).

With check=True (the default) the file must exist and every value be a
whole number, the unit indexes 0..4: OSError for a file that is missing
or unreadable, ValueError naming the line of a refused value ("settings
file x.ini:2: distUnits=ft is not a whole number"). Missing keys are 0.
With check=False the file is read as hosts read it: anything missing or
unreadable is 0, a value is its leading digits; it never raises but for
a path with a zero character.)")
        .def(
            "save",
            [](const quillon::Units& u, const py::handle& path) {
                std::string name = path_arg(path);
                quillon::Status saved = u.save(name);
                if (!saved) raise_error(saved.error());
            },
            py::arg("path"),
            R"(Writes the seven settings into section [units] of the file, keeping
every other line; creates the file when missing and replaces it
atomically. Raises OSError naming the first key that could not be
written (a read-only file, a missing folder).)")
        .def(
            "format_distance",
            [](const quillon::Units& u, double meters) {
                require_finite(meters, "meters");
                return quillon::format_distance(meters, u);
            },
            py::arg("meters"),
            "Metres written in the distance unit with its decimals: 1234.5678 with dist_units 3 ->\n"
            "'1.23457km'. Raises ValueError for NaN or infinite metres.")
        .def(
            "parse_distance",
            [](const quillon::Units& u, const py::handle& text) {
                Text in = text_arg(text, "text");
                quillon::ParsedLength parsed = quillon::parse_distance(in.bytes, u);
                return named("ParsedLength", parsed.meters, in.index(parsed.stop));
            },
            py::arg("text"), "parse_length() with the distance unit as the unit of a bare number.")
        .def("__eq__", [](const quillon::Units& a, const quillon::Units& b) { return settings_of(a) == settings_of(b); })
        .def("__repr__", &repr)
        .def(py::pickle([](const quillon::Units& u) { return settings_of(u); },
                        [](const Settings& values) { return units_of(values); }));
}

}  // namespace quillon_python
