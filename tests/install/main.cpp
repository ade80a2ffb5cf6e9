// Both doors of an installed copy: the flat interface and the C++ API.
#include <quillon/quillon.h>
#include <quillon/quillon.hpp>

#include <cstdio>

int main() {
    if (!allocUnits(L"")) return 1;
    getUnits()->distUnits = 3;
    wchar_t text[32];
    distToStr(text, 1234.5678);
    std::printf("%ls\n", text);
    deAllocUnits(L"");

    quillon::Units units;
    units.dist_units = quillon::kKilometers;
    return quillon::format_distance(1234.5678, units) == "1.23457km" ? 0 : 1;
}
