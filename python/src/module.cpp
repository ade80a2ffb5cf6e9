// The extension quillon._core and the argument handling its parts share.
#include "common.h"

#include <charconv>
#include <cmath>

namespace quillon_python {

std::size_t Text::index(std::size_t byte_index) const noexcept {
    if (!is_str) return byte_index;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < byte_index && i < bytes.size(); ++i)
        if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80) ++characters;
    return characters;
}

py::object Text::slice(std::string_view part) const {
    if (is_str) return py::str(part.data(), part.size());
    return py::bytes(part.data(), part.size());
}

Text text_arg(const py::handle& object, const char* what) {
    Text text;
    if (PyUnicode_Check(object.ptr())) {
        Py_ssize_t size = 0;
        const char* data = PyUnicode_AsUTF8AndSize(object.ptr(), &size);
        if (data == nullptr) throw py::error_already_set();
        text.bytes = std::string_view(data, static_cast<std::size_t>(size));
        text.is_str = true;
    } else if (PyBytes_Check(object.ptr())) {
        text.bytes = std::string_view(PyBytes_AS_STRING(object.ptr()),
                                      static_cast<std::size_t>(PyBytes_GET_SIZE(object.ptr())));
    } else if (PyByteArray_Check(object.ptr())) {
        text.bytes = std::string_view(PyByteArray_AS_STRING(object.ptr()),
                                      static_cast<std::size_t>(PyByteArray_GET_SIZE(object.ptr())));
    } else {
        throw py::type_error(std::string(what) + " must be str or bytes, not " +
                             std::string(py::str(py::type::handle_of(object).attr("__name__"))));
    }
    return text;
}

std::string path_arg(const py::handle& object) {
    py::object path = py::module_::import("os").attr("fsencode")(object);
    std::string bytes = path.cast<std::string>();
    if (bytes.find('\0') != std::string::npos) raise_value_error("the file name holds a zero character");
    return bytes;
}

void raise_error(const quillon::Error& error) {
    switch (error.code) {
        case quillon::Errc::io_error:
            PyErr_SetString(PyExc_OSError, error.message.c_str());
            throw py::error_already_set();
        case quillon::Errc::no_memory:
            throw std::bad_alloc();
        default:
            throw py::value_error(error.message);
    }
}

std::string number_text(double value) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void raise_value_error(const std::string& message) { throw py::value_error(message); }

void raise_type_error(const char* what, const char* kind, const py::handle& object) {
    std::string shown = py::repr(object);
    if (shown.size() > 40) shown = shown.substr(0, 37) + "...";
    throw py::type_error(std::string(what) + " must be " + kind + ", not " + shown);
}

void require_finite(double value, const char* what) {
    if (!std::isfinite(value)) raise_value_error(std::string(what) + " must be finite, not " + number_text(value));
}

void require_range(long long value, long long lo, long long hi, const char* what) {
    if (value < lo || value > hi)
        raise_value_error(std::string(what) + " must be " + std::to_string(lo) + ".." + std::to_string(hi) + ", not " +
                          std::to_string(value));
}

int unit_arg(const py::handle& unit) {
    static const char* const names[quillon::kUnitCount] = {"m", "ft", "usft", "km", "nm"};
    if (PyUnicode_Check(unit.ptr())) {
        auto name = cast_arg<std::string>(unit, "unit", "a name");
        for (int i = 0; i < quillon::kUnitCount; ++i)
            if (name == names[i]) return i;
        raise_value_error("unit '" + name + "' is none of m, ft, usft, km, nm");
    }
    if (PyBool_Check(unit.ptr()) || !PyLong_Check(unit.ptr()))
        throw py::type_error("unit must be a name (m, ft, usft, km, nm) or an index 0..4");
    auto index = cast_arg<long long>(unit, "unit", "an index 0..4");
    require_range(index, 0, quillon::kUnitCount - 1, "unit");
    return static_cast<int>(index);
}

py::array_t<double> double_array(const py::handle& object, const char* what) {
    py::array array = py::module_::import("numpy").attr("asarray")(object);
    char kind = array.dtype().kind();
    if (kind != 'b' && kind != 'i' && kind != 'u' && kind != 'f')
        throw py::type_error(std::string(what) + " must be real numbers, not an array of " +
                             std::string(py::str(array.dtype())));
    return py::array_t<double, py::array::c_style | py::array::forcecast>(array);
}

}  // namespace quillon_python

PYBIND11_MODULE(_core, m) {
    using namespace quillon_python;
    m.doc() = "The compiled core of quillon; import quillon instead.";
    bind_geodesy(m);
    bind_angles(m);
    bind_units(m);
    bind_time(m);
    bind_sentences(m);
    bind_statistics(m);
    bind_numerics(m);
    bind_track(m);
}
