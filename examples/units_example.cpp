// Creates the units settings from a settings file, shows a few distances in
// several units, reads typed lengths back and saves the settings.
//
//   units_example [settings.ini]
#include <quillon/quillon.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

int main(int argc, char** argv) {
    wchar_t path[512];
    std::mbstowcs(path, argc > 1 ? argv[1] : "quillon-example.ini", 511);
    path[511] = L'\0';

    if (!allocUnits(path)) return 1;
    Units* units = getUnits();

    const double lengths[] = {0.3048, 1234.5678, 1852.0, -2.5};
    wchar_t text[64];
    for (int unit = 0; unit < 5; ++unit) {
        units->distUnits = unit;
        std::printf("%-16ls", units->unitTable[unit].name);
        for (double meters : lengths) {
            distToStr(text, meters);
            std::printf(" %14ls", text);
        }
        std::printf("\n");
    }

    units->distUnits = 1;  // feet
    const wchar_t* typed[] = {L"100", L"100 m", L"2nm", L"3 yd", L"N 12.5 ft", L"-7 km"};
    for (const wchar_t* entry : typed) {
        std::printf("%-10ls -> %.4f m\n", entry, parseStrToDist(entry));
    }

    deAllocUnits(path);  // saves the settings
    std::printf("settings saved to %ls\n", path);
    return 0;
}
