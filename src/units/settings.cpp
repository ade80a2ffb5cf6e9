// The seven display and entry settings in section "units" of a settings
// file. Loading reads as the hosts always have (whatever is there, as
// numbers the system's integer read makes of it); reading checks each value
// and says which key of which file is wrong.
#include <climits>
#include <string>
#include <string_view>

#include <quillon/cpp/units.hpp>

#include "platform/platform.h"
#include "text/format.h"
#include "text/utf.h"

namespace quillon {
namespace {

constexpr const wchar_t* kSection = L"units";

// The settings in file order.
struct Key {
    const char* name;
    const wchar_t* wide;
    int Units::*field;
};
constexpr Key kKeys[Units::kCount] = {
    {"distUnits", L"distUnits", &Units::dist_units},
    {"wpUnits", L"wpUnits", &Units::wp_units},
    {"latLonStyle", L"latLonStyle", &Units::lat_lon_style},
    {"defaultLatHemi", L"defaultLatHemi", &Units::default_lat_hemi},
    {"defaultLonHemi", L"defaultLonHemi", &Units::default_lon_hemi},
    {"defaultEntry", L"defaultEntry", &Units::default_entry},
    {"defaultDistCalc", L"defaultDistCalc", &Units::default_dist_calc},
};
constexpr std::size_t kUnitKeys = 2;  // distUnits and wpUnits hold unit indexes

// A path as the platform takes it: zero-terminated, so a path holding a
// zero character would name another file; it names none.
template <class Ch>
bool namesAFile(const std::basic_string<Ch>& path) {
    return path.find(Ch(0)) == std::basic_string<Ch>::npos;
}

std::string utf8Of(std::string_view text) { return std::string(text); }
std::string utf8Of(std::wstring_view text) { return utf::toUtf8(text); }

template <class Ch>
Units loadFrom(std::basic_string_view<Ch> path) noexcept {
    Units units;
    try {
        const std::basic_string<Ch> file(path);
        if (!namesAFile(file)) return units;
        for (const Key& key : kKeys) units.*key.field = platform::profileInt(kSection, key.wide, 0, file.c_str());
    } catch (...) {
        // Out of storage: what was read stays, the rest is 0.
    }
    return units;
}

template <class Ch>
Status saveTo(const Units& units, std::basic_string_view<Ch> path) noexcept {
    try {
        const std::basic_string<Ch> file(path);
        const bool named = namesAFile(file);
        const Key* failed = nullptr;
        for (const Key& key : kKeys) {
            wchar_t value[16];
            value[fmt::integer(value, units.*key.field, 0, false)] = L'\0';
            const bool written = named && platform::writeProfileString(kSection, key.wide, value, file.c_str());
            if (!written && failed == nullptr) failed = &key;
        }
        if (failed == nullptr) return {};
        return make_error(Errc::io_error, "settings file " + utf8Of(path) + ": cannot write " + failed->name);
    } catch (...) {
        return make_error(Errc::no_memory, "out of memory writing a settings file");
    }
}

enum class Whole { ok, notWhole, outOfRange };

// An optional sign and decimal digits, and nothing else, within int.
Whole wholeNumber(const std::wstring& text, int* value) {
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == L'-';
    if (!text.empty() && (text[0] == L'-' || text[0] == L'+')) ++i;
    if (i == text.size()) return Whole::notWhole;
    constexpr long long kBeyond = static_cast<long long>(INT_MAX) + 2;  // further digits cannot bring it back
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9') return Whole::notWhole;
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > kBeyond) magnitude = kBeyond;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue < INT_MIN || signedValue > INT_MAX) return Whole::outOfRange;
    *value = static_cast<int>(signedValue);
    return Whole::ok;
}

}  // namespace

const char* Units::key(std::size_t i) noexcept { return i < kCount ? kKeys[i].name : ""; }

int* Units::setting(std::size_t i) noexcept { return i < kCount ? &(this->*kKeys[i].field) : nullptr; }

const int* Units::setting(std::size_t i) const noexcept { return i < kCount ? &(this->*kKeys[i].field) : nullptr; }

Units Units::load(std::string_view path) noexcept { return loadFrom(path); }

Units Units::load(std::wstring_view path) noexcept { return loadFrom(path); }

Result<Units> Units::read(std::string_view path) noexcept {
    try {
        const std::string file(path);
        auto fail = [&file](Errc code, const std::string& what, int line = 0) {
            const std::string where = line > 0 ? file + ":" + std::to_string(line) : file;
            return make_error(code, "settings file " + where + ": " + what);
        };
        switch (namesAFile(file) ? platform::profileFileState(file.c_str()) : platform::ProfileFile::missing) {
        case platform::ProfileFile::readable: break;
        case platform::ProfileFile::missing: return fail(Errc::io_error, "no such file");
        case platform::ProfileFile::notAFile: return fail(Errc::io_error, "is not a file");
        case platform::ProfileFile::unreadable: return fail(Errc::io_error, "cannot be read");
        }
        Units units;
        for (std::size_t i = 0; i < kCount; ++i) {
            const auto text = platform::profileString(kSection, kKeys[i].wide, file.c_str());
            if (!text || text->empty()) continue;
            int value = 0;
            const Whole whole = wholeNumber(*text, &value);
            const bool isUnit = i < kUnitKeys;
            if (whole == Whole::ok && (!isUnit || (value >= 0 && value < kUnitCount))) {
                units.*kKeys[i].field = value;
                continue;
            }
            const std::string entry = std::string(kKeys[i].name) + "=" + utf::toUtf8(*text);
            const int line = platform::profileLine(kSection, kKeys[i].wide, file.c_str());
            if (whole == Whole::notWhole) return fail(Errc::parse_error, entry + " is not a whole number", line);
            return fail(Errc::out_of_range, entry + (isUnit ? " is not a unit (0..4)" : " is out of range"), line);
        }
        return units;
    } catch (...) {
        return make_error(Errc::no_memory, "out of memory reading a settings file");
    }
}

Status Units::save(std::string_view path) const noexcept { return saveTo(*this, path); }

Status Units::save(std::wstring_view path) const noexcept { return saveTo(*this, path); }

}  // namespace quillon
