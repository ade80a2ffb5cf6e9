// Inversion of small matrices and the seeded normal generator.
#include "common.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace quillon_python {
namespace {

py::array_t<double> inv(const py::handle& a, const std::string& method) {
    enum { gauss_jordan, lu, symmetric } how;
    if (method == "gauss_jordan") how = gauss_jordan;
    else if (method == "lu") how = lu;
    else if (method == "symmetric") how = symmetric;
    else raise_value_error("method must be 'gauss_jordan', 'lu' or 'symmetric', not '" + method + "'");

    py::array_t<double> in = double_array(a, "a");
    if (in.ndim() < 2 || in.shape(in.ndim() - 1) != in.shape(in.ndim() - 2))
        raise_value_error("a must be a square matrix, or a stack of them, not of shape " +
                          std::string(py::str(py::tuple(in.attr("shape")))));
    py::array_t<double> out(std::vector<py::ssize_t>(in.shape(), in.shape() + in.ndim()));
    const auto n = static_cast<std::size_t>(in.shape(in.ndim() - 1));
    const std::size_t cells = n * n;
    const std::size_t count = cells == 0 ? 0 : static_cast<std::size_t>(in.size()) / cells;
    double* data = out.mutable_data();
    if (in.size() != 0) std::memcpy(data, in.data(), static_cast<std::size_t>(in.size()) * sizeof(double));
    for (std::size_t k = 0; k < count * cells; ++k)
        if (!std::isfinite(data[k])) raise_value_error("the matrix holds NaN or an infinite value");

    quillon::Status status;
    std::size_t which = 0;
    {
        py::gil_scoped_release unlocked;
        for (; which < count && status.ok(); ++which) {
            double* matrix = data + which * cells;
            bool replaced = false;
            if (how == gauss_jordan) status = quillon::invert_gauss_jordan(matrix, n);
            else if (how == symmetric) status = quillon::invert_symmetric(matrix, n);
            else if ((status = quillon::invert_lu(matrix, n, &replaced)) && replaced)
                status = quillon::make_error(quillon::Errc::singular, "the matrix is singular (a zero pivot)");
        }
    }
    if (!status.ok()) {
        if (count == 1) raise_error(status.error());
        quillon::Error error = status.error();
        error.message = "matrix " + std::to_string(which - 1) + " of the stack: " + error.message;
        raise_error(error);
    }
    return out;
}

// The generator pickles as its bytes: it is a plain value of fixed layout.
static_assert(std::is_trivially_copyable<quillon::NormalGenerator>::value, "NormalGenerator pickles as bytes");
constexpr int kLargestSeed = 2147428874;  // seeds beyond leave the generators out of their range

quillon::NormalGenerator make_generator(long long seed) {
    require_range(seed, -kLargestSeed, kLargestSeed, "seed");
    return quillon::NormalGenerator(static_cast<int>(seed));
}

py::object normal(quillon::NormalGenerator& generator, const py::object& size) {
    if (size.is_none()) return py::float_(generator.next());
    std::vector<py::ssize_t> shape;
    if (PyLong_Check(size.ptr())) shape.push_back(cast_arg<py::ssize_t>(size, "size", "a count"));
    else shape = cast_arg<std::vector<py::ssize_t>>(size, "size", "a count or a tuple of them");
    for (py::ssize_t extent : shape)
        if (extent < 0) raise_value_error("size must not be negative");
    py::array_t<double> out(shape);
    double* data = out.mutable_data();
    // Drawn under the GIL: one generator must not draw on two threads at once.
    const auto n = static_cast<std::size_t>(out.size());
    for (std::size_t i = 0; i < n; ++i) data[i] = generator.next();
    return std::move(out);
}

}  // namespace

void bind_numerics(py::module_& m) {
    m.def("inv", &inv, py::arg("a"), py::arg("method"));

    py::class_<quillon::NormalGenerator>(m, "NormalGenerator", R"(Standard normal deviates (mean 0, variance 1) by Marsaglia's polar
method over a shuffled combination of three linear congruential
generators, seeded: the same seed always gives the same sequence (seed
and -seed give the same one), on every platform up to the last bits of
the logarithm. The uniforms are single precision: the deviates suit
simulated measurement noise, not tail statistics or cryptography. Each
object holds its whole state; it copies and pickles with it.)")
        .def(py::init(&make_generator), py::arg("seed") = -1,
             "A generator seeded with seed, -2147428874..2147428874; ValueError outside.")
        .def("normal", &normal, py::arg("size") = py::none(),
             "The next deviate as a float (size None), or an array of the next ones of shape size\n"
             "(an int or a tuple), filled in order.")
        .def(py::pickle(
            [](const quillon::NormalGenerator& g) {
                return py::bytes(reinterpret_cast<const char*>(&g), sizeof g);
            },
            [](const py::bytes& state) {
                std::string bytes = state;
                if (bytes.size() != sizeof(quillon::NormalGenerator))
                    raise_value_error("not the state of a NormalGenerator of this build");
                quillon::NormalGenerator g;
                std::memcpy(static_cast<void*>(&g), bytes.data(), sizeof g);
                return g;
            }));
}

}  // namespace quillon_python
