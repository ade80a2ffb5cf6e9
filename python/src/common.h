// What every part of the binding shares: text and path arguments, numbers
// checked at the door, the library's errors as Python exceptions, numpy
// arrays of doubles, and the named tuples of quillon._types.
#ifndef QUILLON_PYTHON_COMMON_H
#define QUILLON_PYTHON_COMMON_H

#include <quillon/quillon.hpp>

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon_python {

namespace py = pybind11;

/// A text argument: a str as UTF-8, or bytes and bytearray as they are. The
/// view lives as long as the Python object it came from.
struct Text {
    std::string_view bytes;
    bool is_str = false;

    /// Index into the Python object of a byte index into bytes: characters
    /// for a str (the parsers stop only at ASCII bytes, so never inside a
    /// character), bytes otherwise.
    std::size_t index(std::size_t byte_index) const noexcept;
    /// A part of bytes as the kind of object the text came as.
    py::object slice(std::string_view part) const;
};
/// Reads a str, bytes or bytearray argument; TypeError for anything else,
/// UnicodeEncodeError (a ValueError) for a str that has no UTF-8 form (lone
/// surrogates). `what` names the argument in the message.
Text text_arg(const py::handle& object, const char* what);

/// A file name from a str, bytes or os.PathLike, as UTF-8 bytes; ValueError
/// when it holds a zero character.
std::string path_arg(const py::handle& object);

/// Raises the Python exception of a library error: OSError for io_error,
/// MemoryError for no_memory, ValueError for everything else, with the
/// library's message.
[[noreturn]] void raise_error(const quillon::Error& error);
/// The value of a result, or its error raised.
template <class T>
T value_of(quillon::Result<T>&& result) {
    if (!result) raise_error(result.error());
    return std::move(*result);
}

/// A number as Python's repr writes it: the shortest text that reads back.
std::string number_text(double value);
/// ValueError with the message, as a C++ exception pybind11 translates.
[[noreturn]] void raise_value_error(const std::string& message);
/// ValueError unless value is finite: "<what> must be finite, not nan".
void require_finite(double value, const char* what);
/// ValueError unless lo <= value <= hi: "<what> must be lo..hi, not value".
void require_range(long long value, long long lo, long long hi, const char* what);

/// TypeError: "<what> must be <kind>, not <the object's repr>".
[[noreturn]] void raise_type_error(const char* what, const char* kind, const py::handle& object);
/// object as a T, or TypeError as raise_type_error() words it.
template <class T>
T cast_arg(const py::handle& object, const char* what, const char* kind) {
    try {
        return object.cast<T>();
    } catch (const py::cast_error&) {
        raise_type_error(what, kind, object);
    }
}

/// A unit given by index (0..4) or by name ("m", "ft", "usft", "km", "nm").
int unit_arg(const py::handle& unit);

/// The angle style named 'dms' or 'dm'; ValueError for another name.
quillon::AngleStyle style_arg(const std::string& style);

/// An array of doubles read from any array-like of real numbers (bool, int
/// or float), C-contiguous; TypeError for text, objects or complex numbers.
py::array_t<double> double_array(const py::handle& object, const char* what);

/// An instance of the named tuple quillon._types.<name> made from args.
template <class... Args>
py::object named(const char* name, Args&&... args) {
    return py::module_::import("quillon._types").attr(name)(std::forward<Args>(args)...);
}

void bind_geodesy(py::module_& m);
void bind_angles(py::module_& m);
void bind_units(py::module_& m);
void bind_time(py::module_& m);
void bind_sentences(py::module_& m);
void bind_statistics(py::module_& m);
void bind_numerics(py::module_& m);
void bind_track(py::module_& m);

}  // namespace quillon_python

#endif
