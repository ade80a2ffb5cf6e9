/// @file
/// Errors as values: what every fallible call of the C++ API returns.
///
/// No call of the C++ API throws or prints. A call that can fail returns a
/// quillon::Result<T>: either the value, or an Error with a code a program
/// can branch on and a message a user can act on ("'12a' is not a number").
/// Calls whose failure is part of the answer (a checksum that does not
/// match, a parser's stop position) return plain values instead.
#ifndef QUILLON_CPP_RESULT_HPP
#define QUILLON_CPP_RESULT_HPP

#include <new>
#include <type_traits>
#include <string>
#include <utility>

namespace quillon {

/// What kind of failure an Error reports.
enum class Errc {
    invalid_argument = 1,  ///< an argument outside the call's domain (a count of 0, a unit index of 7)
    parse_error,           ///< text that does not read as what was asked for
    out_of_range,          ///< a number that reads but lies outside its valid range
    not_finite,            ///< NaN or an infinite value among the inputs, or a result that overflowed
    singular,              ///< a matrix or a system of equations that cannot be solved
    not_converged,         ///< an iteration that did not settle within its limit
    io_error,              ///< a file that cannot be read or written
    no_memory,             ///< storage could not be obtained
};

/// One failure: its kind and a sentence for the user.
struct Error {
    Errc code = Errc::invalid_argument;  ///< what kind of failure
    std::string message;  ///< e.g. "settings file x.ini: distUnits=ft is not a whole number"
};

/// Makes an Error. When even the message cannot be stored, the Error keeps
/// its code and an empty message.
inline Error make_error(Errc code, const char* message) noexcept {
    Error error;
    error.code = code;
    try {
        error.message = message;
    } catch (...) {
    }
    return error;
}

/// @copydoc make_error(Errc, const char*)
inline Error make_error(Errc code, std::string&& message) noexcept {
    Error error;
    error.code = code;
    error.message = std::move(message);
    return error;
}

/// A value of type T, or the Error that kept the call from producing one.
///
/// Test it before use: `if (auto r = quillon::read_units("a.ini")) use(*r);
/// else report(r.error().message);`. Reading value() of a failed result, or
/// error() of a successful one, is a programming error (the behaviour is
/// undefined, as for std::optional).
template <class T>
class [[nodiscard]] Result {
public:
    /// A successful result holding value.
    Result(T value) noexcept(std::is_nothrow_move_constructible<T>::value)  // NOLINT: implicit by design
        : ok_(true), value_(std::move(value)) {}
    /// A failed result.
    Result(Error error) noexcept : ok_(false), error_(std::move(error)) {}  // NOLINT: implicit by design

    /// True when the call succeeded.
    bool ok() const noexcept { return ok_; }
    /// Same as ok().
    explicit operator bool() const noexcept { return ok_; }

    /// The value; only when ok().
    T& value() & noexcept { return value_; }
    /// @copydoc value()
    const T& value() const& noexcept { return value_; }
    /// @copydoc value()
    T&& value() && noexcept { return std::move(value_); }
    /// @copydoc value()
    T& operator*() & noexcept { return value_; }
    /// @copydoc value()
    const T& operator*() const& noexcept { return value_; }
    /// @copydoc value()
    T* operator->() noexcept { return &value_; }
    /// @copydoc value()
    const T* operator->() const noexcept { return &value_; }
    /// The value when ok(), otherwise fallback.
    T value_or(T fallback) const& { return ok_ ? value_ : std::move(fallback); }

    /// The failure; only when !ok().
    const Error& error() const noexcept { return error_; }

private:
    bool ok_;
    T value_{};
    Error error_;
};

/// The outcome of a call that produces no value: success, or an Error.
template <>
class [[nodiscard]] Result<void> {
public:
    /// Success.
    Result() noexcept = default;
    /// Failure.
    Result(Error error) noexcept : ok_(false), error_(std::move(error)) {}  // NOLINT: implicit by design

    /// True when the call succeeded.
    bool ok() const noexcept { return ok_; }
    /// Same as ok().
    explicit operator bool() const noexcept { return ok_; }
    /// The failure; only when !ok().
    const Error& error() const noexcept { return error_; }

private:
    bool ok_ = true;
    Error error_;
};

/// Success or failure of a call without a value.
using Status = Result<void>;

}  // namespace quillon

#endif
