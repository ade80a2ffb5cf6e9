// The real Windows facilities behind the platform interface.
#include <windows.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <locale.h>
#include <time.h>

#include "text/chars.h"
#include "text/utf.h"
#include "platform/ini_text.h"
#include "platform/platform.h"

namespace quillon::platform {
namespace {

// Number conversions read '.' as the decimal point whatever locale the host
// process has set.
_locale_t classicLocale() {
    static _locale_t locale = _create_locale(LC_NUMERIC, "C");
    return locale;
}

// No value can hold a line feed, so this default tells a missing key from
// any value the file has.
constexpr const wchar_t* kMissing = L"\n";

// The file the private-profile functions open for path: a name without a
// folder or drive is in the Windows folder.
std::wstring profileFilePath(const wchar_t* path) {
    for (const wchar_t* p = path; *p != L'\0'; ++p) {
        if (*p == L'\\' || *p == L'/' || *p == L':') return path;
    }
    wchar_t folder[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return path;
    return std::wstring(folder, n) + L"\\" + path;
}

}  // namespace

int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const wchar_t* path) {
    return static_cast<int>(GetPrivateProfileIntW(section, key, fallback, path));
}

int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const char* path) {
    if (path == nullptr) return fallback;
    return profileInt(section, key, fallback, utf::fromUtf8(path).c_str());
}

std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const wchar_t* path) {
    if (section == nullptr || key == nullptr || path == nullptr) return std::nullopt;
    // The function cuts a value that does not fit and then returns the room
    // less one: try again with more.
    std::wstring value(256, L'\0');
    for (;;) {
        const DWORD n = GetPrivateProfileStringW(section, key, kMissing, value.data(),
                                                 static_cast<DWORD>(value.size()), path);
        if (n + 1 < value.size() || value.size() >= (1u << 24)) {
            value.resize(n);
            break;
        }
        value.resize(value.size() * 4);
    }
    if (value == kMissing) return std::nullopt;
    return value;
}

std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const char* path) {
    if (path == nullptr) return std::nullopt;
    return profileString(section, key, utf::fromUtf8(path).c_str());
}

// The system reads no line numbers, so the file is read here and searched
// as the POSIX stand-in searches it: bytes of the code page, or UTF-16LE
// after its byte-order mark.
int profileLine(const wchar_t* section, const wchar_t* key, const char* path) {
    if (section == nullptr || key == nullptr || path == nullptr) return 0;
    const std::wstring file = profileFilePath(utf::fromUtf8(path).c_str());
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return 0;
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (ReadFile(handle, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    CloseHandle(handle);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return ini::lineOfKey(utf::bytesToUtf16le(bytes), 1, utf::toUtf16(section), utf::toUtf16(key));
    return ini::lineOfKey(bytes, 0, utf::toUtf8(section), utf::toUtf8(key));
}

bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path) {
    return WritePrivateProfileStringW(section, key, value, path) != FALSE;
}

bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const char* path) {
    if (path == nullptr) return false;
    return writeProfileString(section, key, value, utf::fromUtf8(path).c_str());
}

ProfileFile profileFileState(const wchar_t* path) {
    if (path == nullptr) return ProfileFile::missing;
    const std::wstring file = profileFilePath(path);
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) {
            return ProfileFile::missing;
        }
        return ProfileFile::unreadable;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return ProfileFile::notAFile;
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return ProfileFile::unreadable;
    CloseHandle(handle);
    return ProfileFile::readable;
}

ProfileFile profileFileState(const char* path) {
    if (path == nullptr) return ProfileFile::missing;
    return profileFileState(utf::fromUtf8(path).c_str());
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
