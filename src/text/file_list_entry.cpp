// FLClass: one data-file path, compared by its bare name and ordered by the
// numbers in that name so that "9.dat" comes before "10.dat".
#include <cwchar>
#include <new>

#include "platform/platform.h"
#include "quillon/sentences.h"

namespace {

// 259 characters and the terminating zero, the longest Windows path.
constexpr std::size_t kPathCapacity = 260;
// The secondary key is read from this character of the name on.
constexpr std::size_t kSecondaryKeyStart = 4;

wchar_t* newPathBuffer() {
    wchar_t* buffer = new (std::nothrow) wchar_t[kPathCapacity];
    if (buffer != nullptr) buffer[0] = L'\0';
    return buffer;
}

// Copies at most 259 characters of source (empty when null) into a buffer
// of 260; a longer path is cut there.
void copyPath(wchar_t* target, const wchar_t* source) {
    if (target == nullptr) return;
    std::size_t length = 0;
    if (source != nullptr) {
        while (length < kPathCapacity - 1 && source[length] != L'\0') ++length;
        std::wmemcpy(target, source, length);
    }
    target[length] = L'\0';
}

// The file name without drive, directory and extension ("C:\logs\0012.dat"
// gives "0012"); empty for an object without a buffer.
struct NamePart {
    wchar_t text[kPathCapacity];
    explicit NamePart(const wchar_t* path) {
        text[0] = L'\0';
        if (path != nullptr) quillon::platform::splitPath(path, nullptr, nullptr, text, nullptr);
    }
};

// The number read from the fifth character on; a name of four characters
// or fewer has no fifth character and reads as an empty text, 0.
int secondaryKey(const wchar_t* name) {
    return std::wcslen(name) > kSecondaryKeyStart ? quillon::platform::wideToInt(name + kSecondaryKeyStart) : 0;
}

}  // namespace

FLClass::FLClass() : path(newPathBuffer()) {}

FLClass::FLClass(const wchar_t* source) : path(newPathBuffer()) { copyPath(path, source); }

FLClass::FLClass(const FLClass& other) : path(newPathBuffer()) { copyPath(path, other.path); }

FLClass::~FLClass() { delete[] path; }

FLClass& FLClass::operator=(const FLClass& other) {
    if (this != &other) copyPath(path, other.path);
    return *this;
}

int FLClass::operator==(const FLClass& other) const {
    const NamePart mine(path);
    const NamePart theirs(other.path);
    return std::wcscmp(mine.text, theirs.text) == 0 ? 1 : 0;
}

int FLClass::operator<(const FLClass& other) const {
    const NamePart mine(path);
    const NamePart theirs(other.path);
    const int primaryMine = quillon::platform::wideToInt(mine.text);
    const int primaryTheirs = quillon::platform::wideToInt(theirs.text);
    if (primaryMine != primaryTheirs) return primaryMine < primaryTheirs ? 1 : 0;
    return secondaryKey(mine.text) < secondaryKey(theirs.text) ? 1 : 0;
}
