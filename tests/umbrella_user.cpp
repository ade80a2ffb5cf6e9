// Calls the library through the umbrella header alone.
#include <quillon/quillon.h>

int main() {
    int ok = parseStrToUnit(L"2nm", nullptr, 0) == 3704.0;
    return ok ? 0 : 1;
}
