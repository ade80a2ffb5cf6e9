#include "text/format.h"
#include "units/unit_table.h"

namespace quillon::units {

// "%.Nlf%s" with N the decimals: 1234.5678 m in meters, 2 -> "1234.57m".
int writeLength(wchar_t* out, const Unit& row, double meters, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 9) decimals = 9;
    int n = fmt::fixed(out, meters / row.toMeters, decimals);
    n += fmt::copyText(out + n, row.abbrev);
    out[n] = L'\0';
    return n;
}

}  // namespace quillon::units
