// Typed lengths: [label] [sign] number [unit], e.g. "N 100 m", "-7", "2nm".
// The lenient reader takes what it can, as the hosts' parser always has;
// the checked reader takes a whole text or says what it could not read.
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

#include <quillon/cpp/units.hpp>

#include "text/chars.h"
#include "units/unit_table.h"

namespace quillon {
namespace {

// A character of either text as a code the classes of text/chars.h take:
// bytes above 0x7F, like wide characters beyond ASCII, belong to no class.
constexpr wchar_t codeOf(char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); }
constexpr wchar_t codeOf(wchar_t c) { return c; }

constexpr std::size_t kMaxLenientNumberChars = 12;

bool isLabel(wchar_t c) {
    switch (toUpper(c)) {
    case L'E': case L'N': case L'O': case L'S': case L'X': case L'Y': return true;
    default: return false;
    }
}

bool startsSuffix(wchar_t c) {
    switch (toUpper(c)) {
    case L'F': case L'K': case L'M': case L'N': case L'Y': return true;
    default: return false;
    }
}

// Metres in one of the unit a suffix of one or two letters names, or 0.0
// when it names none.
double suffixFactor(wchar_t first, wchar_t second, int defaultUnit) {
    first = toUpper(first);
    second = toUpper(second);
    if (second == L'\0') return first == L'M' ? 1.0 : 0.0;
    if (first == L'K' && second == L'M') return 1000.0;
    if (first == L'N' && second == L'M') return units::kNauticalMileMeters;
    if (first == L'Y' && second == L'D') return units::kYardMeters;
    if (first == L'F' && second == L'T') return units::footMeters(defaultUnit);
    return 0.0;
}

// The reading of the hosts' parser, on text of either width; stop counts
// characters of that text.
template <class Ch>
ParsedLength parseLenient(std::basic_string_view<Ch> text, int defaultUnit, double defaultFactor) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto at = [&](std::size_t k) { return k < n ? codeOf(text[k]) : L'\0'; };
    auto skipSpace = [&] {
        while (i < n && isSpace(at(i))) ++i;
    };

    skipSpace();
    if (i == n) return {0.0, i};
    if (isLabel(at(i))) {
        ++i;
        skipSpace();
    }
    double sign = 1.0;
    if (at(i) == L'+' || at(i) == L'-') {
        if (at(i) == L'-') sign = -1.0;
        ++i;
        skipSpace();
    }
    if (!isDigit(at(i)) && at(i) != L'.') return {0.0, i};

    // At most 12 digits and points; a second point ends the number the
    // conversion reads ("1.2.3" is 1.2), and a lone point reads 0.
    char number[kMaxLenientNumberChars];
    std::size_t count = 0;
    while (count < kMaxLenientNumberChars && (isDigit(at(i)) || at(i) == L'.')) {
        number[count++] = static_cast<char>(at(i));
        ++i;
    }
    double value = 0.0;
    std::from_chars(number, number + count, value, std::chars_format::fixed);
    skipSpace();

    double factor = defaultFactor;
    if (startsSuffix(at(i))) {
        const wchar_t second = isAlpha(at(i + 1)) ? at(i + 1) : L'\0';
        const double named = suffixFactor(at(i), second, defaultUnit);
        if (named != 0.0) {
            factor = named;
            i += second != L'\0' ? 2 : 1;
        }
    }
    return {sign * (value * factor), i};
}

bool sameLetters(std::string_view text, const char* upper) {
    std::size_t k = 0;
    for (; upper[k] != '\0'; ++k) {
        if (k == text.size() || toUpper(codeOf(text[k])) != static_cast<wchar_t>(upper[k])) return false;
    }
    return k == text.size();
}

// Metres in one of the unit named by a whole run of letters, or 0.0.
double unitFactor(std::string_view letters, int defaultUnit) {
    if (sameLetters(letters, "M")) return 1.0;
    if (sameLetters(letters, "KM")) return 1000.0;
    if (sameLetters(letters, "NM")) return units::kNauticalMileMeters;
    if (sameLetters(letters, "YD")) return units::kYardMeters;
    if (sameLetters(letters, "FT")) return units::footMeters(defaultUnit);
    if (sameLetters(letters, "USFT")) return units::kUsSurveyFootMeters;
    return 0.0;
}

// Length of the decimal number at the start of text: digits with at most
// one point and at least one digit, then an exponent when one with digits
// follows; 0 when there is no number.
std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    std::size_t digits = 0;
    auto digitAt = [&](std::size_t k) { return k < text.size() && isDigit(codeOf(text[k])); };
    while (digitAt(i)) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (digitAt(i)) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-')) ++k;
        if (digitAt(k)) {
            while (digitAt(k)) ++k;
            i = k;
        }
    }
    return i;
}

// Whether a decimal number the conversion found out of range is too large
// (rather than too small): its decimal exponent, that of its first
// significant digit, is positive. A number out of range has a significant
// digit, and a decimal exponent far from 0.
bool tooLarge(std::string_view number) {
    long long position = 0;  // decimal exponent of the first significant digit, before the exponent part
    bool found = false;
    bool afterPoint = false;
    std::size_t i = 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (!found && c != '0') {
            found = true;
            position = afterPoint ? position - 1 : 0;
        } else if (found && !afterPoint) {
            ++position;
        } else if (!found && afterPoint) {
            --position;
        }
    }
    long long exponent = 0;
    bool negative = false;
    if (i < number.size()) {
        ++i;
        if (number[i] == '+' || number[i] == '-') negative = number[i++] == '-';
        for (; i < number.size() && exponent < 1000000000; ++i) exponent = exponent * 10 + (number[i] - '0');
    }
    return position + (negative ? -exponent : exponent) > 0;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '\'';
    out += text;
    out += '\'';
    return out;
}

// "no number in '5x'", "cannot read 'x' in '5x'": what went wrong, the part
// of the text concerned when there is one, and the whole text.
Error lengthError(Errc code, const char* what, std::string_view text, const std::string_view* part = nullptr) noexcept {
    try {
        std::string message = what;
        message += ' ';
        if (part != nullptr) {
            message += quoted(*part);
            message += ' ';
        }
        message += "in ";
        message += quoted(text);
        return make_error(code, std::move(message));
    } catch (...) {
        return make_error(code, "");
    }
}

}  // namespace

ParsedLength parse_length(std::string_view text, int default_unit) noexcept {
    return parseLenient(text, default_unit, unit_info(default_unit).to_meters);
}

ParsedLength parse_length(std::wstring_view text, int default_unit) noexcept {
    return parseLenient(text, default_unit, unit_info(default_unit).to_meters);
}

ParsedLength parse_length(std::string_view text, int default_unit, double default_to_meters) noexcept {
    return parseLenient(text, default_unit, default_to_meters);
}

ParsedLength parse_length(std::wstring_view text, int default_unit, double default_to_meters) noexcept {
    return parseLenient(text, default_unit, default_to_meters);
}

Result<double> read_length(std::string_view text, int default_unit) noexcept {
    std::size_t i = 0;
    auto skipSpace = [&] {
        while (i < text.size() && isSpace(codeOf(text[i]))) ++i;
    };
    // What is left from i on, without the blanks that end the text.
    auto unread = [&] {
        std::size_t end = text.size();
        while (end > i && isSpace(codeOf(text[end - 1]))) --end;
        const std::string_view rest = text.substr(i, end - i);
        return lengthError(Errc::parse_error, "cannot read", text, &rest);
    };

    skipSpace();
    if (i < text.size() && isLabel(codeOf(text[i]))) {
        ++i;
        skipSpace();
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i++] == '-';
        skipSpace();
    }
    const std::size_t length = numberLength(text.substr(i));
    if (length == 0) return lengthError(Errc::parse_error, "no number", text);
    const std::string_view number = text.substr(i, length);
    double value = 0.0;
    const auto read = std::from_chars(number.data(), number.data() + number.size(), value);
    if (read.ec == std::errc::result_out_of_range) {
        if (tooLarge(number)) return lengthError(Errc::not_finite, "number too large", text);
        value = 0.0;
    }
    i += length;
    skipSpace();

    double factor = unit_info(default_unit).to_meters;
    std::size_t letters = 0;
    while (i + letters < text.size() && isAlpha(codeOf(text[i + letters]))) ++letters;
    if (letters > 0) {
        const double named = unitFactor(text.substr(i, letters), default_unit);
        if (named == 0.0) return unread();
        factor = named;
        i += letters;
        skipSpace();
    }
    if (i < text.size()) return unread();

    const double meters = value * factor;
    if (!std::isfinite(meters)) return lengthError(Errc::not_finite, "number too large", text);
    return negative ? -meters : meters;
}

}  // namespace quillon
