// The hosts' angle functions, over the C++ API. The hosts' buffers are not
// sized by the call: they hold the longest text, kMaxAngleText + 1.
#include <climits>
#include <string_view>

#include "quillon/angles.h"
#include "quillon/cpp/angles.hpp"

void pad(const wchar_t* text, int width, wchar_t* out) { quillon::pad(std::wstring_view(text), width, out); }

void stripTCHARs(wchar_t* out, const wchar_t* text) { quillon::strip_blanks(std::wstring_view(text), out); }

void angToStr(wchar_t* out, double angle, int decimals, int style) {
    quillon::write_angle(out, quillon::kMaxAngleText + 1, angle, decimals, quillon::angle_style(style));
}

void latToStr(wchar_t* out, double latitude, int decimals, int style) {
    quillon::write_latitude(out, quillon::kMaxAngleText + 1, latitude, decimals, quillon::angle_style(style));
}

void lonToStr(wchar_t* out, double longitude, int decimals, int style) {
    quillon::write_longitude(out, quillon::kMaxAngleText + 1, longitude, decimals, quillon::angle_style(style));
}

void degToDms(double angle, int decimals, int* degrees, int* minutes, double* seconds) {
    const auto parts = quillon::split_dms(angle, decimals);
    *degrees = parts.degrees;
    *minutes = parts.minutes;
    *seconds = parts.seconds;
}

void degToDecMin(double angle, int decimals, int* degrees, double* minutes) {
    const auto parts = quillon::split_dm(angle, decimals);
    *degrees = parts.degrees;
    *minutes = parts.minutes;
}

double parseStrToAng(const wchar_t* text, int* stop) {
    const auto parsed = quillon::parse_angle(std::wstring_view(text));
    *stop = parsed.stop > std::size_t(INT_MAX) ? INT_MAX : static_cast<int>(parsed.stop);
    return parsed.degrees;
}

double strToAng(const wchar_t* text) { return quillon::parse_angle(std::wstring_view(text)).degrees; }
