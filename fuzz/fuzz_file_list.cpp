// FLClass built from any three paths (short, long, with any characters;
// the input separates them by "|"):
// each object holds its path cut to 259 characters; copies and assignments
// compare equal to their source; equality is reflexive and symmetric;
// operator< is a strict weak ordering (irreflexive, asymmetric, transitive,
// and so is "neither before the other") under which equal names are
// unordered.
#include <cwchar>

#include "fuzz_support.h"
#include "quillon/sentences.h"

namespace {

// The text up to the next "|" (a character no Windows path holds), which
// is consumed; the rest of the text when there is none.
std::vector<wchar_t> nextPath(const std::vector<wchar_t>& all, std::size_t* at) {
    std::size_t end = *at;
    while (end < all.size() && all[end] != L'|') ++end;
    std::vector<wchar_t> path(all.begin() + std::ptrdiff_t(*at), all.begin() + std::ptrdiff_t(end));
    *at = end < all.size() ? end + 1 : end;
    return path;
}

bool before(const FLClass& a, const FLClass& b) {
    const int r = a < b;
    FUZZ_CHECK(r == 0 || r == 1, "operator< gave %d", r);
    return r == 1;
}

bool unordered(const FLClass& a, const FLClass& b) { return !before(a, b) && !before(b, a); }

void checkHolds(const FLClass& object, const fuzz::ExactText& source) {
    FUZZ_CHECK(object.path != nullptr, "no path buffer");
    const std::size_t expected = source.length < 259 ? source.length : 259;
    FUZZ_CHECK(std::wcslen(object.path) == expected && std::wmemcmp(object.path, source.get(), expected) == 0,
               "path %s was kept as %s", SHOWN(source), fuzz::show(object.path, std::wcslen(object.path)).c_str());
}

std::string showPaths(const fuzz::ExactText& p1, const fuzz::ExactText& p2, const fuzz::ExactText& p3) {
    return fuzz::show(p1.get(), p1.length) + " " + fuzz::show(p2.get(), p2.length) + " " +
           fuzz::show(p3.get(), p3.length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const std::vector<wchar_t> all = fuzz::wideText(in);
    std::size_t at = 0;
    fuzz::ExactText p1 = fuzz::exactCopy(nextPath(all, &at));
    fuzz::ExactText p2 = fuzz::exactCopy(nextPath(all, &at));
    fuzz::ExactText p3 = fuzz::exactCopy(nextPath(all, &at));

    const FLClass a(p1.get());
    const FLClass b(p2.get());
    const FLClass c(p3.get());
    checkHolds(a, p1);
    checkHolds(b, p2);
    checkHolds(c, p3);
    FUZZ_CHECK((a == a) == 1 && !before(a, a), "paths %s: the first is not equal to itself or before itself",
               showPaths(p1, p2, p3).c_str());
    FUZZ_CHECK((a == b) == (b == a), "paths %s: equality is not symmetric", showPaths(p1, p2, p3).c_str());
    FUZZ_CHECK(!(before(a, b) && before(b, a)), "paths %s: each before the other", showPaths(p1, p2, p3).c_str());
    FUZZ_CHECK(!(a == b) || unordered(a, b), "paths %s: equal names are ordered", showPaths(p1, p2, p3).c_str());
    FUZZ_CHECK(!(before(a, b) && before(b, c)) || before(a, c), "paths %s: a<b, b<c but not a<c", showPaths(p1, p2, p3).c_str());
    FUZZ_CHECK(!(unordered(a, b) && unordered(b, c)) || unordered(a, c), "paths %s: unordered is not transitive",
               showPaths(p1, p2, p3).c_str());

    const FLClass copy(a);
    checkHolds(copy, p1);
    FUZZ_CHECK(copy.path != a.path && (copy == a) == 1 && before(copy, b) == before(a, b),
               "paths %s: the copy differs from its source", showPaths(p1, p2, p3).c_str());
    FLClass assigned;
    FUZZ_CHECK(assigned.path != nullptr && assigned.path[0] == L'\0', "a default object is not empty");
    assigned = b;
    checkHolds(assigned, p2);
    const FLClass& itself = assigned;
    assigned = itself;
    checkHolds(assigned, p2);
    FUZZ_CHECK((assigned == b) == 1 && before(assigned, c) == before(b, c), "paths %s: the assigned object differs",
               showPaths(p1, p2, p3).c_str());
    return 0;
}
