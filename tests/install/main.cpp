#include <quillon/quillon.h>

#include <cstdio>

int main() {
    if (!allocUnits(L"")) return 1;
    getUnits()->distUnits = 3;
    wchar_t text[32];
    distToStr(text, 1234.5678);
    std::printf("%ls\n", text);
    deAllocUnits(L"");
    return 0;
}
