#include "naive_text.h"

#include <cmath>
#include <cwchar>

#include <quillon/angles.h>
#include <quillon/timescale.h>

namespace naive {

namespace {

constexpr std::size_t kOutChars = 64;

// Copies a template and patches the width and precision digits of its last
// conversion ("%06.3f" -> "%0w.pf"), as the stored templates are patched.
struct Template {
    wchar_t text[24];
    Template(const wchar_t* stored, int decimals) {
        std::wcscpy(text, stored);
        wchar_t* last = std::wcsrchr(text, L'%');
        last[2] = static_cast<wchar_t>(L'0' + (decimals == 0 ? 2 : 3 + decimals));
        last[4] = static_cast<wchar_t>(L'0' + decimals);
    }
};

void coordinate(wchar_t* out, double value, int decimals, int style, const wchar_t* dmsTemplate,
                const wchar_t* dmTemplate, wchar_t negative) {
    if (style == 0) {
        int d = 0, m = 0;
        double s = 0.0;
        degToDms(value, decimals, &d, &m, &s);
        std::swprintf(out, kOutChars, Template(dmsTemplate, decimals).text, d, m, s);
    } else {
        int d = 0;
        double m = 0.0;
        degToDecMin(value, decimals, &d, &m);
        std::swprintf(out, kOutChars, Template(dmTemplate, decimals).text, d, m);
    }
    if (value < 0.0) out[0] = negative;
}

// The unpatched template printed with zeros.
void outOfRange(wchar_t* out, int style, const wchar_t* dmsTemplate, const wchar_t* dmTemplate) {
    if (style == 0)
        std::swprintf(out, kOutChars, dmsTemplate, 0, 0, 0.0);
    else
        std::swprintf(out, kOutChars, dmTemplate, 0, 0.0);
}

}  // namespace

void distToStr(wchar_t* out, double meters, double toMeters, int decimals, const wchar_t* abbrev) {
    wchar_t format[] = L"%.1lf%ls";
    format[2] = static_cast<wchar_t>(L'0' + decimals);
    std::swprintf(out, kOutChars, format, meters / toMeters, abbrev);
}

void angToStr(wchar_t* out, double angle, int decimals, int style) {
    if (style == 0) {
        int d = 0, m = 0;
        double s = 0.0;
        degToDms(angle, decimals, &d, &m, &s);
        std::swprintf(out, kOutChars, Template(L" %3d %2d %06.3f", decimals).text, d % 360, m, s);
    } else {
        int d = 0;
        double m = 0.0;
        degToDecMin(angle, decimals, &d, &m);
        std::swprintf(out, kOutChars, Template(L" %3d %07.4f", decimals).text, d % 360, m);
    }
    if (angle < 0.0) out[0] = L'-';
}

void latToStr(wchar_t* out, double latitude, int decimals, int style) {
    if (latitude < -90.0 || latitude > 90.0) {
        outOfRange(out, style, L"N%02d %02d %06.3f", L"N%02d %06.3f");
        return;
    }
    coordinate(out, latitude, decimals, style, L"N%02d %02d %06.3f", L"N%02d %06.3f", L'S');
}

void lonToStr(wchar_t* out, double longitude, int decimals, int style) {
    if (longitude < -180.0 || longitude > 180.0) {
        outOfRange(out, style, L"E%02d %02d %06.3f", L"E%02d %06.3f");
        return;
    }
    coordinate(out, longitude, decimals, style, L"E%03d %02d %06.3f", L"E%03d %06.3f", L'W');
}

void timeToStr(wchar_t* out, double dos) {
    if (dos == 0.0) {
        out[0] = L'\0';
        return;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    dosToYearMonthDay(dos, &year, &month, &day, &hour, &minute, &second);
    second = std::floor(second * 10.0) / 10.0;
    std::swprintf(out, kOutChars, L"%02d-%02d-%02d %02d:%02d:%04.1f", month, day, year % 100, hour, minute,
                  second);
}

}  // namespace naive
