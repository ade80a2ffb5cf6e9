// Lengths as text: "%.Nf" of the value in the unit, then the abbreviation.
// The hosts write a distance for every row of a listing, so a buffer with
// room for any number gets the digits straight from the formatter.
#include <string_view>

#include <quillon/cpp/units.hpp>

#include "text/format.h"

namespace quillon {
namespace {

static_assert(fmt::kMaxFixedChars <= kMaxLengthText, "a number alone never exceeds the longest length text");

constexpr int clampedDecimals(int decimals) { return decimals < 0 ? 0 : decimals > 9 ? 9 : decimals; }

// The abbreviation of a row of the library's table is ASCII, so either
// width takes it character by character.
template <class Ch, class A>
std::size_t copyAbbrev(Ch* out, std::basic_string_view<A> abbrev) {
    for (std::size_t k = 0; k < abbrev.size(); ++k) out[k] = static_cast<Ch>(abbrev[k]);
    return abbrev.size();
}

template <class Ch, class A>
std::size_t writeLength(Ch* out, std::size_t size, double value, int decimals, std::basic_string_view<A> abbrev) {
    decimals = clampedDecimals(decimals);
    if (out != nullptr && size > abbrev.size() && size - abbrev.size() > kMaxLengthText) {
        std::size_t n = static_cast<std::size_t>(fmt::fixed(out, value, decimals));
        n += copyAbbrev(out + n, abbrev);
        out[n] = Ch(0);
        return n;
    }
    Ch number[fmt::kMaxFixedChars];
    const auto digits = static_cast<std::size_t>(fmt::fixed(number, value, decimals));
    if (out == nullptr || size == 0) return 0;
    if (size <= abbrev.size() || size - abbrev.size() <= digits) {
        out[0] = Ch(0);
        return 0;
    }
    for (std::size_t k = 0; k < digits; ++k) out[k] = number[k];
    const std::size_t n = digits + copyAbbrev(out + digits, abbrev);
    out[n] = Ch(0);
    return n;
}

template <class Ch>
std::size_t writeInUnit(Ch* out, std::size_t size, double meters, int unit, int decimals) {
    const UnitInfo& row = unit_info(unit);
    return writeLength(out, size, meters / row.to_meters, decimals, std::string_view(row.abbrev));
}

}  // namespace

std::size_t write_length(char* out, std::size_t size, double meters, int unit, int decimals) noexcept {
    return writeInUnit(out, size, meters, unit, decimals);
}

std::size_t write_length(wchar_t* out, std::size_t size, double meters, int unit, int decimals) noexcept {
    return writeInUnit(out, size, meters, unit, decimals);
}

std::size_t write_length(char* out, std::size_t size, double meters, double to_meters, std::string_view abbrev,
                         int decimals) noexcept {
    return writeLength(out, size, meters / to_meters, decimals, abbrev);
}

std::size_t write_length(wchar_t* out, std::size_t size, double meters, double to_meters, std::wstring_view abbrev,
                         int decimals) noexcept {
    return writeLength(out, size, meters / to_meters, decimals, abbrev);
}

}  // namespace quillon
