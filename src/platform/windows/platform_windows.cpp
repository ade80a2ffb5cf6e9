// The real Windows facilities behind the platform interface.
#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <time.h>

#include "text/chars.h"
#include "platform/platform.h"

namespace quillon::platform {
namespace {

// Number conversions read '.' as the decimal point whatever locale the host
// process has set.
_locale_t classicLocale() {
    static _locale_t locale = _create_locale(LC_NUMERIC, "C");
    return locale;
}

}  // namespace

int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const wchar_t* path) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path));
}

bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path) {
    return WritePrivateProfileStringW(section, key, value, path) != FALSE;
}

double wideToDouble(const wchar_t* text) { return _wtof_l(text, classicLocale()); }

int wideToInt(const wchar_t* text) { return _wtoi(text); }

long wideToLong(const wchar_t* text) { return _wtol(text); }

void splitPath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* name, wchar_t* ext) {
    _wsplitpath(path, drive, dir, name, ext);
}

void upperCase(wchar_t* text) {
    for (; *text != L'\0'; ++text) *text = toUpper(*text);
}

long processClockMs() { return static_cast<long>(clock()); }

std::int64_t systemTimeSeconds() { return static_cast<std::int64_t>(_time64(nullptr)); }

void switchTimeZoneToGmt() {
    _wputenv(L"TZ=GMT0");
    _tzset();
}

}  // namespace quillon::platform
