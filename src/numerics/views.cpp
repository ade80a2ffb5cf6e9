// Re-based row-pointer views over storage that someone else owns. A view owns
// only its row-pointer array; the returned pointer is that array shifted back
// by the first row index, so the first row index addresses its first slot.
#include <cstddef>

#include "numerics/allocation.h"
#include "quillon/numerics.h"

using quillon::numerics::allocateElements;
using quillon::numerics::releaseElements;

float** subMatrix(float** source, int oldrl, int oldrh, int oldcl, int newrl, int newcl) {
    const long long slots = static_cast<long long>(oldrh) - oldrl + 1;
    float** view = allocateElements<float*>(slots);
    if (view == nullptr) return nullptr;
    const std::ptrdiff_t columnShift = static_cast<std::ptrdiff_t>(oldcl) - newcl;
    for (long long i = 0; i < slots; ++i) view[i] = source[oldrl + i] + columnShift;
    return view - newrl;
}

float** convertMatrix(float* block, int nrl, int nrh, int ncl, int nch) {
    const long long slots = static_cast<long long>(nrh) - nrl + 1;
    float** view = allocateElements<float*>(slots);
    if (view == nullptr) return nullptr;
    const std::ptrdiff_t ncol = static_cast<std::ptrdiff_t>(nch) - ncl + 1;
    for (long long i = 0; i < slots; ++i) view[i] = block + (i * ncol - ncl);
    return view - nrl;
}

// A null view is ignored.
void freeSubMatrix(float** view, int newrl) {
    if (view != nullptr) releaseElements(view + newrl);
}

void freeConvertMatrix(float** view, int nrl) { freeSubMatrix(view, nrl); }
