// The settings file on disk (quillon::platform::profileInt and
// writeProfileString) with any file content: bytes, invalid UTF-8, NULs,
// or UTF-16 after a byte-order mark (odd lengths and lone surrogates
// included). Reading never fails; a key without "=" anywhere reads as the
// fallback; a written key reads back; another key reads as before; the
// write changes the file in one place only, keeps an odd last byte of a
// UTF-16 file, and leaves no temporary file behind.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "ini_properties.h"
#include "platform/platform.h"
#include "text/utf.h"

namespace {

using quillon::platform::profileInt;
using quillon::platform::writeProfileString;

// A private directory for one input, on a memory file system where there is
// one (every save syncs, which a disk makes slow). Made and removed around
// each input: libFuzzer ends without running destructors of statics.
class WorkDirectory {
public:
    WorkDirectory() {
        const char* tmp = std::getenv("TMPDIR");
        path_ = std::string(access("/dev/shm", W_OK) == 0 ? "/dev/shm" : tmp != nullptr ? tmp : "/tmp") +
                "/quillon-fuzz-XXXXXX";
        if (mkdtemp(path_.data()) == nullptr) std::abort();
    }
    ~WorkDirectory() {
        unlink(file().c_str());
        rmdir(path_.c_str());
    }
    WorkDirectory(const WorkDirectory&) = delete;
    WorkDirectory& operator=(const WorkDirectory&) = delete;
    const std::string& path() const { return path_; }
    std::string file() const { return path_ + "/s.ini"; }

private:
    std::string path_;
};

void writeFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) std::abort();
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

std::string readFile(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return out;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) out.append(chunk, n);
    std::fclose(f);
    return out;
}

int entriesIn(const std::string& dir) {
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return -1;
    int count = 0;
    while (dirent* e = readdir(d)) count += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
    closedir(d);
    return count;
}

// A name from 16-bit units; with `astral`, units from 0x8000 on stand for
// characters beyond U+FFFF, so surrogate pairs of a UTF-16 file are reached.
std::wstring wideName(fuzz::Input& in, std::size_t length, bool astral, const char* fallback) {
    std::wstring name;
    for (std::size_t i = 0; i < length && !in.empty(); ++i) {
        unsigned unit = in.byte();
        unit |= unsigned(in.byte()) << 8;
        name += wchar_t(astral && unit >= 0x8000u ? unit + 0x10000u : unit);
    }
    return fuzz::usableName(name, fallback);
}

bool isUtf16(const std::string& bytes) {
    return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
}

std::u16string unitsOf(const std::string& bytes) {
    std::u16string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        out += char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
    return out;
}

std::u16string foldedUnits(const std::wstring& name) {
    std::u16string units = quillon::utf::toUtf16(name.c_str());
    for (char16_t& c : units)
        if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
    return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const WorkDirectory work;
    const std::string& dir = work.path();
    const std::string file = work.file();
    const std::wstring path(file.begin(), file.end());

    fuzz::Input in(data, size);
    const std::uint8_t flags = in.byte();
    const bool astral = (flags & 2) != 0;
    const int value = in.int32();
    const int fallback = in.int32();
    const std::wstring section = wideName(in, in.byte() % 12, astral, "units");
    const std::wstring key = wideName(in, in.byte() % 12, astral, "distUnits");
    const std::wstring otherKey = wideName(in, in.byte() % 12, astral, "wpUnits");
    const std::wstring otherSection = (flags & 4) ? section : wideName(in, in.byte() % 12, astral, "host");
    const std::string before = ((flags & 1) ? std::string("\xFF\xFE") : std::string()) + in.rest();
    writeFile(file, before);

    const int read = profileInt(section.c_str(), key.c_str(), fallback, path.c_str());
    const bool utf16 = isUtf16(before);
    const bool anyEquals = utf16 ? unitsOf(before).find(u'=') != std::u16string::npos
                                 : before.find('=') != std::string::npos;
    FUZZ_CHECK(anyEquals || read == fallback, "a file of %zu bytes without \"=\" read %d, not the fallback %d",
               before.size(), read, fallback);
    const int otherBefore = profileInt(otherSection.c_str(), otherKey.c_str(), fallback, path.c_str());

    const std::wstring text = std::to_wstring(value);
    FUZZ_CHECK(writeProfileString(section.c_str(), key.c_str(), text.c_str(), path.c_str()),
               "writing a file of %zu bytes failed", before.size());
    const int readBack = profileInt(section.c_str(), key.c_str(), fallback, path.c_str());
    FUZZ_CHECK(readBack == value, "wrote %d into a file of %zu bytes, read back %d", value, before.size(), readBack);
    // Names are compared as the file stores them: characters that cannot be
    // encoded become U+FFFD, and ASCII letters match in either case.
    const bool sameKey = foldedUnits(otherKey) == foldedUnits(key) && foldedUnits(otherSection) == foldedUnits(section);
    if (!sameKey) {
        const int otherAfter = profileInt(otherSection.c_str(), otherKey.c_str(), fallback, path.c_str());
        FUZZ_CHECK(otherAfter == otherBefore, "writing one key changed another from %d to %d", otherBefore, otherAfter);
    }

    const std::string after = readFile(file);
    if (utf16) {
        FUZZ_CHECK(isUtf16(after), "a UTF-16 file lost its byte-order mark");
        FUZZ_CHECK(before.size() % 2 == after.size() % 2 && (before.size() % 2 == 0 || before.back() == after.back()),
                   "the odd last byte of a UTF-16 file was not kept");
        const std::size_t bound = quillon::utf::toUtf16(section.c_str()).size() +
                                  quillon::utf::toUtf16(key.c_str()).size() + text.size() + 3 + 3 * 2;
        fuzz::checkOneLocalEdit(unitsOf(before), unitsOf(after), bound);
    } else {
        const std::size_t bound = quillon::utf::toUtf8(section.c_str()).size() +
                                  quillon::utf::toUtf8(key.c_str()).size() + text.size() + 3 + 3 * 2;
        fuzz::checkOneLocalEdit(before, after, bound);
    }
    FUZZ_CHECK(entriesIn(dir) == 1, "%d files beside the settings file after a write", entriesIn(dir) - 1);
    return 0;
}
