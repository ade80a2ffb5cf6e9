// Robust statistics and estimation: median, line fit, median filter and the
// station solver.
#include "common.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace quillon_python {
namespace {

// A flat copy of an array-like of real numbers, refused when it holds NaN.
std::vector<double> values_without_nan(const py::handle& values, const char* what) {
    py::array_t<double> array = double_array(values, what);
    std::vector<double> copy(array.data(), array.data() + array.size());
    for (double v : copy)
        if (std::isnan(v)) raise_value_error(std::string(what) + " hold NaN");
    return copy;
}

double median(const py::handle& values) {
    std::vector<double> copy = values_without_nan(values, "values");
    if (copy.empty()) raise_value_error("the median of no values is undefined");
    py::gil_scoped_release unlocked;
    return quillon::sort_and_median(copy.data(), copy.size());
}

py::object lad_fit(const py::handle& x, const py::handle& y, const std::string& method) {
    const bool exact = method == "exact";
    if (!exact && method != "bisection")
        raise_value_error("method must be 'exact' or 'bisection', not '" + method + "'");
    py::array_t<double> xs = double_array(x, "x"), ys = double_array(y, "y");
    if (xs.ndim() != 1 || ys.ndim() != 1 || xs.size() != ys.size())
        raise_value_error("x and y must be one-dimensional and of one length, not of shapes " +
                          std::string(py::str(py::tuple(xs.attr("shape")))) + " and " +
                          std::string(py::str(py::tuple(ys.attr("shape")))));
    auto fit = [&xs, &ys, exact] {
        py::gil_scoped_release unlocked;
        const auto n = static_cast<std::size_t>(xs.size());
        return exact ? quillon::lad_fit(xs.data(), ys.data(), n) : quillon::LineFit().fit(xs.data(), ys.data(), n);
    };
    quillon::Line result = value_of(fit());
    return named("Line", result.a, result.b, result.mean_abs_dev);
}

// A median filter on storage of its own, so that its whole state can be
// pickled: quillon::MedianFilter is this ring behind add_sample().
struct Filter {
    double values[quillon::kMaxFilterWindow] = {};
    double times[quillon::kMaxFilterWindow] = {};
    int last_index = 0;
    int count = 0;
    int window;
    double gate;

    Filter(int window_, double gate_) : window(window_), gate(gate_) {
        require_range(window, 1, quillon::kMaxFilterWindow, "window");
        if (std::isnan(gate)) raise_value_error("gate must be a number, not nan");
    }

    py::object add(double value, double time, double tolerance, int max_samples) {
        require_finite(value, "value");
        require_finite(time, "time");
        if (std::isnan(tolerance)) raise_value_error("tolerance must be a number, not nan");
        require_range(max_samples, 1, 20, "max_samples");
        quillon::SampleRing ring{values, times, &last_index, &count, window, gate};
        quillon::SampleOutcome out = quillon::add_sample(ring, value, time, tolerance, max_samples);
        return named("SampleOutcome", out.accepted, out.output, out.status);
    }

    py::tuple state() const {
        return py::make_tuple(window, gate, last_index, count, std::vector<double>(values, values + window),
                              std::vector<double>(times, times + window));
    }

    static Filter from_state(const py::tuple& state) {
        if (state.size() != 6) raise_value_error("not the state of a MedianFilter");
        const char* what = "a MedianFilter's state";
        Filter filter(cast_arg<int>(state[0], what, "as pickled"), cast_arg<double>(state[1], what, "as pickled"));
        auto values = cast_arg<std::vector<double>>(state[4], what, "as pickled");
        auto times = cast_arg<std::vector<double>>(state[5], what, "as pickled");
        if (values.size() != static_cast<std::size_t>(filter.window) || times.size() != values.size())
            raise_value_error("not the state of a MedianFilter");
        filter.last_index = cast_arg<int>(state[2], what, "as pickled");
        filter.count = cast_arg<int>(state[3], what, "as pickled");
        std::copy(values.begin(), values.end(), filter.values);
        std::copy(times.begin(), times.end(), filter.times);
        return filter;
    }
};

const char* const kKinds[] = {"slope_range", "range_difference", "northing", "easting",
                              "origin_range", "origin_bearing", "bearing", "height"};
constexpr int kKindCount = 8;

quillon::ObservationKind kind_arg(const py::handle& kind) {
    if (PyUnicode_Check(kind.ptr())) {
        auto name = cast_arg<std::string>(kind, "observation kind", "a name");
        for (int i = 0; i < kKindCount; ++i)
            if (name == kKinds[i]) return static_cast<quillon::ObservationKind>(i);
        raise_value_error("observation kind '" + name +
                          "' is none of slope_range, range_difference, northing, easting, origin_range, "
                          "origin_bearing, bearing, height");
    }
    auto index = cast_arg<long long>(kind, "observation kind", "a name or an index 0..7");
    require_range(index, 0, kKindCount - 1, "observation kind");
    return static_cast<quillon::ObservationKind>(index);
}

std::size_t index_arg(const py::handle& index, const char* what) {
    auto value = cast_arg<long long>(index, what, "a station index");
    if (value < 0) raise_value_error(std::string(what) + " must not be negative");
    return static_cast<std::size_t>(value);
}

quillon::Observation observation_arg(const py::handle& item) {
    py::sequence fields = py::reinterpret_borrow<py::sequence>(item);
    if (!py::isinstance<py::sequence>(item) || fields.size() < 3 || fields.size() > 5)
        raise_value_error("an observation is (kind, value, sigma[, station[, other_station]])");
    quillon::Observation o;
    o.kind = kind_arg(fields[0]);
    o.value = cast_arg<double>(fields[1], "an observation's value", "a number");
    o.sigma = cast_arg<double>(fields[2], "an observation's sigma", "a number");
    if (fields.size() > 3) o.station = index_arg(fields[3], "station");
    if (fields.size() > 4) o.other_station = index_arg(fields[4], "other_station");
    return o;
}

std::vector<double> triple(const py::handle& item, const char* what) {
    auto values = cast_arg<std::vector<double>>(item, what, "3 numbers");
    if (values.size() != 3) raise_value_error(std::string(what) + " must hold 3 numbers");
    return values;
}

quillon::Platform platform_arg(const py::handle& item) {
    quillon::Platform platform;
    if (item.is_none()) return platform;
    py::sequence fields = py::reinterpret_borrow<py::sequence>(item);
    if (!py::isinstance<py::sequence>(item) || fields.size() != 4)
        raise_value_error("a platform is (heading, pitch, roll, (right, forward, up))");
    platform.heading = cast_arg<double>(fields[0], "the platform's heading", "a number");
    platform.pitch = cast_arg<double>(fields[1], "the platform's pitch", "a number");
    platform.roll = cast_arg<double>(fields[2], "the platform's roll", "a number");
    std::vector<double> offset = triple(fields[3], "the platform's offset");
    std::copy(offset.begin(), offset.end(), platform.offset);
    return platform;
}

py::object solve_position(const py::handle& stations, const py::handle& observations, const py::handle& platform,
                          const py::handle& start, int dims) {
    py::array_t<double> grid = double_array(stations, "stations");
    if (grid.size() != 0 && (grid.ndim() != 2 || grid.shape(1) != 3))
        raise_value_error("stations must be rows of (easting, northing, height)");
    std::vector<quillon::Station> known(static_cast<std::size_t>(grid.size() / 3));
    for (std::size_t i = 0; i < known.size(); ++i)
        known[i] = {grid.data()[3 * i], grid.data()[3 * i + 1], grid.data()[3 * i + 2]};
    std::vector<quillon::Observation> seen;
    for (const py::handle& item : py::iter(observations)) seen.push_back(observation_arg(item));
    quillon::Platform mount = platform_arg(platform);
    std::vector<double> from = triple(start, "start");

    quillon::PositionSolution solution = value_of(quillon::solve_position(
        known.data(), known.size(), seen.data(), seen.size(), mount, {from[0], from[1], from[2]}, dims));
    py::array_t<double> residuals(static_cast<py::ssize_t>(seen.size()));
    for (std::size_t i = 0; i < seen.size(); ++i)
        residuals.mutable_data()[i] =
            quillon::observation_residual(seen[i], known.data(), known.size(), mount, solution.position);
    const quillon::Position& p = solution.position;
    const double* sd = solution.standard_deviation;
    return named("PositionSolution", p.easting, p.northing, p.height, solution.iterations, residuals,
                 py::make_tuple(sd[0], sd[1], sd[2]), solution.sigma0, solution.redundancy);
}

}  // namespace

void bind_statistics(py::module_& m) {
    m.def("median", &median, py::arg("values"));
    m.def("lad_fit", &lad_fit, py::arg("x"), py::arg("y"), py::arg("method") = "exact");

    py::class_<Filter>(m, "MedianFilter", R"(A running median filter for time-stamped samples (heights of a track,
say): each new sample is accepted when it lies within a tolerance of
the median of the recent ones. Holds the last `window` samples; a plain
value that copies and pickles with its whole state.)")
        .def(py::init<int, double>(), py::arg("window") = 20, py::arg("gate") = 500.0,
             "An empty filter keeping `window` (1..30) samples; a sample older than `gate` (in the unit\n"
             "of the times) than the newest enters no median. Raises ValueError outside those.")
        .def("add", &Filter::add, py::arg("value"), py::arg("time"), py::arg("tolerance"),
             py::arg("max_samples") = 20,
             R"(Adds a sample and screens it against the median of the recent
non-zero samples within the gate (walking back from the new one, at
most max_samples, 1..20, of them). With 5 or more the sample is
accepted when it lies strictly within tolerance of their median
(status 2); with 3 or 4, when besides at least 3 of them do (status 1);
with fewer it is not accepted (status 0). 0.0 is a missing reading:
kept, never gathered, never accepted.

Returns SampleOutcome(accepted, output, status): output is the median
when accepted, otherwise the sample. Raises ValueError for a NaN or
infinite value or time, a NaN tolerance or max_samples outside 1..20.)")
        .def_readonly("window", &Filter::window, "Samples kept, 1..30.")
        .def_readonly("gate", &Filter::gate, "Largest age of a sample that may enter a median.")
        .def_readonly("count", &Filter::count, "Samples held so far, up to window.")
        .def(py::pickle([](const Filter& f) { return f.state(); }, &Filter::from_state));

    m.def("solve_position", &solve_position);
}

}  // namespace quillon_python
