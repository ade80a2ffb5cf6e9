// Reducing a proposed data-file name to a bare name that the file system
// accepts.
#include <cwchar>

#include "quillon/sentences.h"

namespace {

// Room for the kept characters and the terminating zero.
constexpr int kKeptCapacity = 152;

bool isRemovedFromName(wchar_t c) { return c != L'\0' && std::wcschr(L" \",/:;=[\\}", c) != nullptr; }

}  // namespace

int checkDosFileName(wchar_t* name) {
    if (name == nullptr) return 0;
    // The result is never longer than what it is read from, so it can go
    // back over the start of the name; kept characters beyond 151 are dropped.
    wchar_t kept[kKeptCapacity];
    int count = 0;
    for (const wchar_t* c = name; *c != L'\0' && *c != L'.'; ++c) {
        if (!isRemovedFromName(*c) && count < kKeptCapacity - 1) kept[count++] = *c;
    }
    std::wmemcpy(name, kept, static_cast<std::size_t>(count));
    name[count] = L'\0';
    return count > 0 ? 1 : 0;
}
