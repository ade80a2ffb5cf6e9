// Calls one function of every subsystem through the umbrella header alone.
#include <quillon/quillon.h>

int main() {
    int ok = parseStrToUnit(L"2nm", nullptr, 0) == 3704.0;
    wchar_t text[32];
    latToStr(text, 51.477811, 3, 0);
    ok &= text[0] == L'N';
    ok &= julDate(1, 1, 1970) == 2440588;
    ok &= checkCheckSum(L"$*") == 1;
    ok &= arctan(1.0, 0.0) == 90.0;
    double** m = dMatrix(2, 2);
    ok &= m != nullptr;
    freeDMatrix(m, 2);
    double values[] = {3, 1, 2};
    double median = 0;
    centTend(values, 3, &median);
    ok &= median == 2.0;
    FilterData filter;
    ok &= filter.size == 20;
    FLClass a(L"9.dat"), b(L"10.dat");
    ok &= (a < b) == 1;
    return ok ? 0 : 1;
}
