// The facilities the library takes from the operating system and its C
// runtime. On Windows these are the real Windows functions; elsewhere they
// are small stand-ins that behave as the library expects of them.
#ifndef QUILLON_PLATFORM_PLATFORM_H
#define QUILLON_PLATFORM_PLATFORM_H

#include <cstdint>
#include <optional>
#include <string>

namespace quillon::platform {

// --- private-profile (INI) settings files -------------------------------
// Each takes the file's path as wide text or as UTF-8 (const char*). The
// UTF-8 form is the system's own on POSIX, where its bytes name the file
// unchanged, so a name that is not valid UTF-8 still reaches its file; on
// Windows it is converted to UTF-16. A name without a folder means a file in
// the Windows folder there, as the system's private-profile functions take it.
// They may throw std::bad_alloc.

// The integer under `key` of `section` (both case-insensitive): its leading
// decimal digits after blanks and an optional sign, 0 when it has none,
// `fallback` when the file, section or key is missing or the value empty.
int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const wchar_t* path);
int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const char* path);
// The text under `key` of `section` with the blanks around it and one pair
// of enclosing quotes removed; nothing when the file, section or key is
// missing (an empty value is an empty text).
std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const wchar_t* path);
std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const char* path);
// The 1-based line of the file where `key` of `section` is set, for
// messages that send a user to it; 0 when the file, section or key is
// missing.
int profileLine(const wchar_t* section, const wchar_t* key, const char* path);
// Sets `key` of `section` to `value`, creating file, section or key as
// needed. Every other byte of the file is kept; the file is replaced
// atomically. false when the file could not be written (it is then intact).
bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                        const wchar_t* path);
bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const char* path);

// Whether the reads above can see the file at path, and why not.
enum class ProfileFile { readable, missing, notAFile, unreadable };
ProfileFile profileFileState(const wchar_t* path);
ProfileFile profileFileState(const char* path);

// --- wide-text conversions, classic "C" locale ---------------------------
double wideToDouble(const wchar_t* text);  // as _wtof
int wideToInt(const wchar_t* text);        // as _wtoi
long wideToLong(const wchar_t* text);      // as _wtol
// As _wsplitpath: each output, when not null, has room for 260 characters.
void splitPath(const wchar_t* path, wchar_t* drive, wchar_t* dir, wchar_t* name, wchar_t* ext);
// As _wcsupr: 'a'..'z' become 'A'..'Z' in place.
void upperCase(wchar_t* text);

// --- clocks and time zone -------------------------------------------------
// Wall-clock milliseconds since the process started, as the Windows C
// runtime's clock() counts them (not CPU time); -1 when unavailable.
long processClockMs();
// Seconds since 1970-01-01 00:00:00 UTC, as _time64.
std::int64_t systemTimeSeconds();
// Puts TZ=GMT0 into the environment and makes the runtime re-read it.
void switchTimeZoneToGmt();

}  // namespace quillon::platform

#endif
