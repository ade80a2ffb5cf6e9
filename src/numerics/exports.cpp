// The hosts' inversions and normal deviates over the C++ API. The hosts'
// matrices are row-pointer matrices, so each inversion copies the matrix
// into contiguous scratch, inverts it there and copies the result back; the
// numbers are the same bit for bit as those of an inversion in place.
#include <algorithm>
#include <cstddef>

#include "numerics/gasdev.h"
#include "numerics/scratch.h"
#include "numerics/unidev.h"
#include "quillon/cpp/numerics.hpp"
#include "quillon/numerics.h"

namespace {

using quillon::Errc;
using quillon::numerics::kOrderOnStack;

// Rows and columns base..base+n-1 of a row-pointer matrix, row by row.
class Contiguous {
public:
    explicit Contiguous(int n) : n_(static_cast<std::size_t>(n)), block_(n_ * n_) {}
    double* get() const { return block_.get(); }
    std::size_t order() const { return n_; }

    void copyIn(double* const* a, int base) const {
        for (std::size_t i = 0; i < n_; ++i) std::copy_n(a[base + i] + base, n_, block_.get() + i * n_);
    }
    void copyOut(double** a, int base) const {
        for (std::size_t i = 0; i < n_; ++i) std::copy_n(block_.get() + i * n_, n_, a[base + i] + base);
    }

private:
    std::size_t n_;
    quillon::numerics::Scratch<double, kOrderOnStack * kOrderOnStack> block_;
};

// The generator of every gasdev call in the process.
quillon::NormalGenerator generator;

}  // namespace

int gaussj(double** a, int n) {
    if (n < 0) return 0;
    if (n == 0) return 1;
    const Contiguous work(n);
    if (work.get() == nullptr) return 0;
    work.copyIn(a, 0);
    const quillon::Status inverted = quillon::invert_gauss_jordan(work.get(), work.order());
    // A failed elimination leaves the matrix partly reduced, as it always has.
    if (inverted || inverted.error().code != Errc::no_memory) work.copyOut(a, 0);
    return inverted ? 1 : 0;
}

void dInvert(double** a, int n) {
    if (n <= 0) return;
    const Contiguous work(n);
    if (work.get() == nullptr) return;
    work.copyIn(a, 1);
    if (quillon::invert_lu(work.get(), work.order())) work.copyOut(a, 1);
}

int spdinv(double** a, int n) {
    if (n < 0) return 0;
    if (n == 0) return 1;
    const Contiguous work(n);
    if (work.get() == nullptr) return 0;
    work.copyIn(a, 0);
    const quillon::Status inverted = quillon::invert_symmetric(work.get(), work.order());
    // A failure leaves the matrix partly overwritten, as it always has.
    work.copyOut(a, 0);
    return inverted ? 1 : 0;
}

double gasdev(int* seed) { return generator.draw(*seed); }

namespace quillon::numerics {

float unidev(int* seed) { return generator.uniform(*seed); }

void resetGasdevState() { generator = NormalGenerator(); }

}  // namespace quillon::numerics
