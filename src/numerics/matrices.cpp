// Row-pointer matrices: an array of nr + 1 row pointers, each row a separate
// block of nc + 1 elements obtained in increasing row order.
#include "numerics/allocation.h"
#include "quillon/numerics.h"

namespace {

using quillon::numerics::allocateElements;
using quillon::numerics::releaseElements;

// Rows last..0 from the highest down, then the row-pointer array.
template <typename T>
void releaseRows(T** rows, long long last) {
    for (long long i = last; i >= 0; --i) releaseElements(rows[i]);
    releaseElements(rows);
}

// Null at the first allocation that fails, with everything obtained in this
// call given back. With nr == -1 the row array is empty and no row is made.
template <typename T>
T** makeMatrix(int nr, int nc) {
    T** rows = allocateElements<T*>(nr + 1LL);
    if (rows == nullptr) return nullptr;
    for (long long i = 0; i <= nr; ++i) {
        rows[i] = allocateElements<T>(nc + 1LL);
        if (rows[i] == nullptr) {
            releaseRows(rows, i - 1);
            return nullptr;
        }
    }
    return rows;
}

// A null matrix is ignored rather than dereferenced.
template <typename T>
void freeRows(T** m, int nr) {
    if (m != nullptr) releaseRows(m, nr);
}

}  // namespace

float** matrix(int nr, int nc) { return makeMatrix<float>(nr, nc); }

int** iMatrix(int nr, int nc) { return makeMatrix<int>(nr, nc); }

double** dMatrix(int nr, int nc) {
    double** m = makeMatrix<double>(nr, nc);
    if (m == nullptr) return nullptr;
    // Only the zero-based nr by nc block: row nr and column nc stay unset.
    for (int i = 0; i < nr; ++i)
        for (int k = 0; k < nc; ++k) m[i][k] = 0.0;
    return m;
}

void freeMatrix(float** m, int nr) { freeRows(m, nr); }

void freeIMatrix(int** m, int nr) { freeRows(m, nr); }

void freeDMatrix(double** m, int nr) { freeRows(m, nr); }
