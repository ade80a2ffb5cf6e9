// Geodetic <-> geocentric conversion over numpy arrays, after pymap3d's
// signatures: three array-likes broadcast together, the caller's shape back.
#include "common.h"

#include <vector>

namespace quillon_python {
namespace {

// numpy.degrees and numpy.radians multiply by these, so deg=True gives
// numpy's conversion of the radians, bit for bit.
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegreesPerRadian = 180.0 / kPi;
constexpr double kRadiansPerDegree = kPi / 180.0;

// Three coordinate arrays broadcast to one shape, C-contiguous.
struct Coordinates {
    py::array_t<double> a, b, c;
    bool scalar = true;  // all three came as scalars: floats go back
};

Coordinates broadcast(const py::handle& a, const py::handle& b, const py::handle& c, const char* names[3]) {
    py::array_t<double> in[3] = {double_array(a, names[0]), double_array(b, names[1]), double_array(c, names[2])};
    py::module_ numpy = py::module_::import("numpy");
    py::tuple same = numpy.attr("broadcast_arrays")(in[0], in[1], in[2]);
    Coordinates out;
    for (int i = 0; i < 3; ++i) {
        if (in[i].ndim() != 0) out.scalar = false;
        in[i] = py::array_t<double, py::array::c_style | py::array::forcecast>(
            numpy.attr("ascontiguousarray")(same[static_cast<std::size_t>(i)]));
    }
    out.a = in[0];
    out.b = in[1];
    out.c = in[2];
    return out;
}

py::array_t<double> like(const py::array_t<double>& shape_of) {
    return py::array_t<double>(std::vector<py::ssize_t>(shape_of.shape(), shape_of.shape() + shape_of.ndim()));
}

py::object result(const Coordinates& in, py::array_t<double>& a, py::array_t<double>& b, py::array_t<double>& c) {
    if (in.scalar) return py::make_tuple(*a.data(), *b.data(), *c.data());
    return py::make_tuple(a, b, c);
}

py::object geodetic_to_ecef(const py::handle& lat, const py::handle& lon, const py::handle& h, bool deg) {
    const char* names[3] = {"lat", "lon", "h"};
    Coordinates in = broadcast(lat, lon, h, names);
    py::array_t<double> x = like(in.a), y = like(in.a), z = like(in.a);
    const double *plat = in.a.data(), *plon = in.b.data(), *ph = in.c.data();
    double *px = x.mutable_data(), *py_ = y.mutable_data(), *pz = z.mutable_data();
    const auto n = static_cast<std::size_t>(in.a.size());
    {
        py::gil_scoped_release unlocked;
        if (deg) {
            // The outputs hold the radians; the array form converts in place.
            for (std::size_t i = 0; i < n; ++i) {
                px[i] = plat[i] * kRadiansPerDegree;
                py_[i] = plon[i] * kRadiansPerDegree;
                pz[i] = ph[i];
            }
            plat = px;
            plon = py_;
            ph = pz;
        }
        quillon::to_geocentric(plat, plon, ph, px, py_, pz, n);
    }
    return result(in, x, y, z);
}

py::object ecef_to_geodetic(const py::handle& x, const py::handle& y, const py::handle& z, bool deg) {
    const char* names[3] = {"x", "y", "z"};
    Coordinates in = broadcast(x, y, z, names);
    py::array_t<double> lat = like(in.a), lon = like(in.a), h = like(in.a);
    double *plat = lat.mutable_data(), *plon = lon.mutable_data();
    const auto n = static_cast<std::size_t>(in.a.size());
    {
        py::gil_scoped_release unlocked;
        quillon::to_geodetic(in.a.data(), in.b.data(), in.c.data(), plat, plon, h.mutable_data(), n);
        if (deg) {
            for (std::size_t i = 0; i < n; ++i) {
                plat[i] *= kDegreesPerRadian;
                plon[i] *= kDegreesPerRadian;
            }
        }
    }
    return result(in, lat, lon, h);
}

}  // namespace

void bind_geodesy(py::module_& m) {
    m.def("geodetic2ecef", &geodetic_to_ecef, py::arg("lat"), py::arg("lon"), py::arg("h"), py::arg("deg"));
    m.def("ecef2geodetic", &ecef_to_geodetic, py::arg("x"), py::arg("y"), py::arg("z"), py::arg("deg"));
}

}  // namespace quillon_python
