/// @file
/// Inversion of small square matrices held in plain contiguous storage, and
/// normally distributed random numbers.
///
/// A matrix of order n is n * n doubles in row-major order: element (i, j)
/// is a[i * n + j]. Every inversion works in place.
#ifndef QUILLON_CPP_NUMERICS_HPP
#define QUILLON_CPP_NUMERICS_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <cstdint>

namespace quillon {

/// Inverts a by Gauss-Jordan elimination with full pivoting (among pivots of
/// equal magnitude the last one met in row-major order is taken), as the
/// hosts' gaussj does. singular when a column is chosen twice or a pivot is
/// exactly zero, not_finite when the result would hold NaN or an infinity,
/// no_memory when scratch storage runs out (a untouched then); after a
/// failure a is partly reduced and holds no result. n of 0 succeeds.
QUILLON_API Status invert_gauss_jordan(double* a, std::size_t n) noexcept;
/// Inverts a by Crout LU decomposition with implicit (row-scaled) partial
/// pivoting, then one solve per column of the identity, as the hosts'
/// dInvert does. singular when a row is all zero (a unchanged). A zero pivot
/// met on the way is replaced by 1e-20 as dInvert replaces it, which gives
/// entries near 1e20 and no error; *pivot_replaced, when given, says whether
/// that happened. no_memory when scratch runs out (a unchanged).
QUILLON_API Status invert_lu(double* a, std::size_t n, bool* pivot_replaced = nullptr) noexcept;
/// Inverts a symmetric matrix through its U-D factors without pivoting, as
/// the hosts' spdinv does: only the upper triangle with the diagonal is read;
/// both triangles of the inverse are written. singular when a pivot's
/// magnitude is below 1e-11 (an absolute bound: 1e-12 times the identity
/// fails) or is not finite; a is then partly overwritten.
QUILLON_API Status invert_symmetric(double* a, std::size_t n) noexcept;

/// Standard normal deviates (mean 0, variance 1) by Marsaglia's polar
/// method, drawn from a shuffled combination of three linear congruential
/// generators: the hosts' gasdev with state of its own. Each accepted pair
/// of uniforms gives two deviates; the second is kept for the next draw.
class QUILLON_API NormalGenerator {
public:
    /// A generator seeded from seed at its first draw. The same seed always
    /// gives the same sequence; seeds of 54773 or less (negative ones
    /// included) keep the generators in range.
    explicit NormalGenerator(int seed = -1) noexcept : seed_(seed < 0 ? seed : -seed) {}

    /// The next deviate of the generator's own sequence.
    double next() noexcept { return draw(seed_); }
    /// The next deviate, with the hosts' seed protocol: a negative seed (or
    /// the first draw of a generator, whatever seed holds) reseeds from it
    /// and then sets it to 1; a draw that returns the kept deviate touches
    /// neither the generators nor seed. A seed above 54773 starts the
    /// generators out of range, where after 4194304 rejected pairs in one
    /// call NaN is returned rather than looping on.
    double draw(int& seed) noexcept;
    /// The next uniform deviate in [0, 1] (single precision), with the seed
    /// protocol of draw(); it consumes the sequence draw() uses.
    float uniform(int& seed) noexcept;

private:
    void reseed(int& seed) noexcept;

    int seed_;
    bool seeded_ = false;
    std::int32_t ix1_ = 0;
    std::int32_t ix2_ = 0;
    std::int32_t ix3_ = 0;
    float table_[97] = {};
    bool pending_ = false;
    double kept_ = 0.0;
};

}  // namespace quillon

#endif
