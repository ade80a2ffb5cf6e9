// Private-profile settings files: the stand-in for GetPrivateProfileIntW,
// GetPrivateProfileStringW and WritePrivateProfileStringW. Paths are bytes
// here; a wide path is the UTF-8 of its text.
//
// A write is a read-modify-write of the whole file under an exclusive lock,
// so that processes saving different keys of one file at the same time never
// lose each other's changes; the new text goes to a temporary file beside
// the old one and replaces it by rename, so a crash mid-write leaves the old
// file whole. Someone who does not take the lock (a user, a sync tool) may
// move the file away or put another in its place during a save: that is
// noticed just before the rename, and the save is made again on the file as
// it is then. A symbolic link is followed and its target replaced; a file
// without any write permission bit is treated as read-only and left alone.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/ini_text.h"
#include "text/utf.h"

namespace quillon::platform {
namespace {

constexpr int kMostSaveAttempts = 100;

bool hasUtf16Bom(const std::string& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

bool readAll(int fd, std::string* out) {
    out->clear();
    char chunk[65536];
    for (;;) {
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return true;
        out->append(chunk, static_cast<std::size_t>(n));
    }
}

// Without O_NONBLOCK, opening a FIFO put where the file was would wait for
// a writer; regular files ignore the flag.
int openForReading(const char* path) { return open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

bool readFile(const char* path, std::string* out) {
    int fd = openForReading(path);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && readAll(fd, out);
    close(fd);
    return ok;
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Decimal digits after optional blanks and sign, as the Windows function
// reads them; the accumulation wraps at 32 bits as it does there.
template <class Ch>
int leadingInteger(const ini::Text<Ch>& value) {
    std::size_t i = 0;
    while (i < value.size() && ini::isBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == Ch('+') || value[i] == Ch('-'))) negative = value[i++] == Ch('-');
    unsigned int magnitude = 0;
    for (; i < value.size() && value[i] >= Ch('0') && value[i] <= Ch('9'); ++i) {
        magnitude = magnitude * 10u + static_cast<unsigned int>(value[i] - Ch('0'));
    }
    return static_cast<int>(negative ? 0u - magnitude : magnitude);
}

template <class Ch>
int intFromText(const ini::Text<Ch>& text, std::size_t start, const ini::Text<Ch>& section,
                const ini::Text<Ch>& key, int fallback) {
    auto value = ini::readValue(text, start, section, key);
    if (!value || value->empty()) return fallback;
    return leadingInteger(*value);
}

// UTF-16 code units as wide text: a surrogate pair is one character where
// wchar_t has 32 bits; a lone surrogate stays as it is.
std::wstring wideFromUtf16(const std::u16string& units) {
    std::wstring wide;
    wide.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (sizeof(wchar_t) == 4 && c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        }
        wide += static_cast<wchar_t>(c);
    }
    return wide;
}

// The file the path finally names: a symbolic link is replaced at its target.
// A link whose target does not exist yet names that target (which the save
// then creates), so the link is kept and no file is left at its target's
// place but the saved one.
std::string resolvedPath(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        char target[PATH_MAX];
        if (realpath(path.c_str(), target) != nullptr) return target;
        ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
        if (n > 0) {
            std::string linked(target, static_cast<std::size_t>(n));
            if (linked[0] == '/') return linked;
            std::size_t slash = path.rfind('/');
            return slash == std::string::npos ? linked : path.substr(0, slash + 1) + linked;
        }
    }
    return path;
}

// Whether path names the file open at fd.
bool namesFile(const std::string& path, int fd) {
    struct stat held {}, named {};
    return fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

// Opens and exclusively locks the file at path, creating it empty when
// missing. Retries when another writer replaced the file between our open
// and our lock, so the lock is always held on the file the path names.
int lockFile(const std::string& path) {
    for (int attempt = 0; attempt < 1000; ++attempt) {
        int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return -1;
        while (flock(fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                close(fd);
                return -1;
            }
        }
        if (namesFile(path, fd)) return fd;
        close(fd);
    }
    return -1;
}

bool writable(const struct stat& st) { return (st.st_mode & 0222) != 0 && S_ISREG(st.st_mode); }

std::string directoryOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

enum class Replacement { kDone, kFailed, kFileMoved };

// Writes bytes to a temporary file beside path and renames it over path,
// unless path no longer names the locked file: someone who does not take the
// lock (a user, a sync tool) moved it away or put another in its place while
// we read and wrote, and the text we edited is no longer the file's.
Replacement replaceFile(const std::string& path, const std::string& bytes, mode_t mode, int lock) {
    std::string temp = path + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return Replacement::kFailed;
    bool ok = fchmod(fd, mode & 07777) == 0 && writeAll(fd, bytes) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    const bool moved = ok && !namesFile(path, lock);
    if (ok && !moved) ok = rename(temp.c_str(), path.c_str()) == 0;
    if (!ok || moved) {
        unlink(temp.c_str());
        return moved ? Replacement::kFileMoved : Replacement::kFailed;
    }
    int dir = open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return Replacement::kDone;
}

std::string editedBytes(std::string bytes, const wchar_t* section, const wchar_t* key, const wchar_t* value) {
    if (hasUtf16Bom(bytes)) {
        std::string oddByte = bytes.size() % 2 != 0 ? bytes.substr(bytes.size() - 1) : std::string();
        std::u16string units = utf::bytesToUtf16le(bytes);
        ini::writeValue(&units, 1, utf::toUtf16(section), utf::toUtf16(key), utf::toUtf16(value));
        return utf::utf16leToBytes(units) + oddByte;
    }
    ini::writeValue(&bytes, 0, utf::toUtf8(section), utf::toUtf8(key), utf::toUtf8(value));
    return bytes;
}

}  // namespace

int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const char* path) {
    if (section == nullptr || key == nullptr || path == nullptr) return fallback;
    std::string bytes;
    if (!readFile(path, &bytes)) return fallback;
    if (hasUtf16Bom(bytes)) {
        std::u16string units = utf::bytesToUtf16le(bytes);
        return intFromText(units, 1, utf::toUtf16(section), utf::toUtf16(key), fallback);
    }
    return intFromText(bytes, 0, utf::toUtf8(section), utf::toUtf8(key), fallback);
}

int profileInt(const wchar_t* section, const wchar_t* key, int fallback, const wchar_t* path) {
    if (path == nullptr) return fallback;
    return profileInt(section, key, fallback, utf::toUtf8(path).c_str());
}

std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const char* path) {
    if (section == nullptr || key == nullptr || path == nullptr) return std::nullopt;
    std::string bytes;
    if (!readFile(path, &bytes)) return std::nullopt;
    if (hasUtf16Bom(bytes)) {
        auto value = ini::readValue(utf::bytesToUtf16le(bytes), 1, utf::toUtf16(section), utf::toUtf16(key));
        if (!value) return std::nullopt;
        return wideFromUtf16(*value);
    }
    auto value = ini::readValue(bytes, 0, utf::toUtf8(section), utf::toUtf8(key));
    if (!value) return std::nullopt;
    return utf::fromUtf8(*value);
}

int profileLine(const wchar_t* section, const wchar_t* key, const char* path) {
    if (section == nullptr || key == nullptr || path == nullptr) return 0;
    std::string bytes;
    if (!readFile(path, &bytes)) return 0;
    if (hasUtf16Bom(bytes))
        return ini::lineOfKey(utf::bytesToUtf16le(bytes), 1, utf::toUtf16(section), utf::toUtf16(key));
    return ini::lineOfKey(bytes, 0, utf::toUtf8(section), utf::toUtf8(key));
}

std::optional<std::wstring> profileString(const wchar_t* section, const wchar_t* key, const wchar_t* path) {
    if (path == nullptr) return std::nullopt;
    return profileString(section, key, utf::toUtf8(path).c_str());
}

ProfileFile profileFileState(const char* path) {
    if (path == nullptr) return ProfileFile::missing;
    int fd = openForReading(path);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return ProfileFile::missing;
        struct stat st {};
        if (stat(path, &st) == 0 && !S_ISREG(st.st_mode)) return ProfileFile::notAFile;
        return ProfileFile::unreadable;
    }
    struct stat st {};
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    close(fd);
    return regular ? ProfileFile::readable : ProfileFile::notAFile;
}

ProfileFile profileFileState(const wchar_t* path) {
    if (path == nullptr) return ProfileFile::missing;
    return profileFileState(utf::toUtf8(path).c_str());
}

bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const wchar_t* path) {
    if (path == nullptr) return false;
    return writeProfileString(section, key, value, utf::toUtf8(path).c_str());
}

bool writeProfileString(const wchar_t* section, const wchar_t* key, const wchar_t* value, const char* path) {
    if (section == nullptr || key == nullptr || value == nullptr || path == nullptr || *path == '\0') {
        return false;
    }
    const std::string target = resolvedPath(path);
    struct stat before {};
    bool existed = stat(target.c_str(), &before) == 0;
    if (existed && !writable(before)) return false;

    // A file moved under us is edited again as it now is.
    for (int attempt = 0; attempt < kMostSaveAttempts; ++attempt) {
        int lock = lockFile(target);
        if (lock < 0) return false;
        struct stat held {};
        std::string bytes;
        Replacement outcome = Replacement::kFailed;
        if (fstat(lock, &held) == 0 && writable(held) && readAll(lock, &bytes)) {
            // A file the lock just created carries the mode the umask allows.
            outcome = replaceFile(target, editedBytes(std::move(bytes), section, key, value), held.st_mode, lock);
        }
        // Leave no empty file behind, and only the one we created and hold.
        if (outcome == Replacement::kFailed && !existed && held.st_size == 0 && namesFile(target, lock)) {
            unlink(target.c_str());
        }
        close(lock);
        if (outcome != Replacement::kFileMoved) return outcome == Replacement::kDone;
    }
    return false;
}

}  // namespace quillon::platform
