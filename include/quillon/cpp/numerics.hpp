/// @file
/// Inversion of small square matrices held in plain contiguous storage, and
/// normally distributed random numbers.
///
/// A matrix of order n is n * n doubles in row-major order: element (i, j)
/// is a[i * n + j]. Every inversion works in place and follows one fixed
/// order of operations, so its results are the same bit for bit on every
/// run and equal to those of the hosts' row-pointer routines (gaussj,
/// dInvert, spdinv) on the same numbers; only the sign of a NaN in a result
/// may differ from one build to another. None of them scales its pivot tests
/// to the matrix: they are meant for small, reasonably conditioned systems
/// (normal matrices of a few unknowns). The accuracy is that of unblocked
/// elimination: errors grow with the order and the condition number, about
/// n times the condition number times 1e-16 relative to the largest element
/// of the inverse (within 1e-12 of Eigen's inverses for well-conditioned
/// matrices up to order 12).
#ifndef QUILLON_CPP_NUMERICS_HPP
#define QUILLON_CPP_NUMERICS_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <cstdint>

namespace quillon {

/// Inverts a by Gauss-Jordan elimination with full pivoting (among pivots of
/// equal magnitude the last one met in row-major order is taken), as the
/// hosts' gaussj does.
///
/// @param a the n * n matrix, row-major; replaced by its inverse.
/// @param n the order; 0 succeeds and touches nothing.
/// @return success, or: singular when a column is chosen as pivot twice or a
/// pivot is exactly zero (a matrix that is singular only after rounding can
/// instead give huge entries or not_finite); not_finite when a holds NaN or
/// an infinity or the inverse overflows; no_memory when scratch for more
/// than 16 rows cannot be obtained (a untouched then). After singular or
/// not_finite, a is partly reduced and holds no result.
QUILLON_API Status invert_gauss_jordan(double* a, std::size_t n) noexcept;

/// Inverts a by Crout LU decomposition with implicit (row-scaled) partial
/// pivoting, then one solve per column of the identity, as the hosts'
/// dInvert does.
///
/// A zero pivot met on the way is replaced by 1e-20 as dInvert replaces it:
/// a singular matrix without an all-zero row is "inverted" to entries near
/// 1e20 without an error. Test *pivot_replaced, or prefer
/// invert_gauss_jordan(), when that matters. NaN or infinite elements are no
/// error either: the result then holds NaN, or zeros where an infinity
/// was, and is no inverse.
///
/// @param a the n * n matrix, row-major; replaced by its inverse on success.
/// @param n the order; 0 succeeds and touches nothing.
/// @param pivot_replaced when not null, set to whether a zero pivot was
///        replaced by 1e-20 (false after an error).
/// @return success, or: singular when a row holds nothing but zeros and NaN;
/// no_memory when scratch (n * n + 3n numbers, on the stack up to order 16)
/// cannot be obtained. a is unchanged after either error.
QUILLON_API Status invert_lu(double* a, std::size_t n, bool* pivot_replaced = nullptr) noexcept;

/// Inverts a symmetric matrix through its U-D factors (Bierman's form)
/// without pivoting, as the hosts' spdinv does. Positive definite matrices
/// are what it is for; symmetric indefinite ones whose pivots stay away from
/// zero are inverted as well.
///
/// @param a the n * n matrix, row-major: only the upper triangle with the
///        diagonal (i <= j) is read; on success both triangles of the
///        inverse are written (exactly symmetric).
/// @param n the order; 0 succeeds and touches nothing.
/// @return success, or: singular when a pivot's magnitude is below 1e-11 (an
/// absolute bound: 1e-12 times the identity fails, and a matrix scaled to
/// tiny elements fails like a singular one); not_finite when a pivot is NaN
/// or infinite (a NaN or an infinity in the upper triangle always reaches
/// one). a is then partly overwritten and holds no result. Nothing is
/// allocated.
QUILLON_API Status invert_symmetric(double* a, std::size_t n) noexcept;

/// Standard normal deviates (mean 0, variance 1) by Marsaglia's polar
/// method, drawn from a shuffled combination of three linear congruential
/// generators: the hosts' gasdev with state of its own. Each accepted pair
/// of uniforms gives two deviates; the second is kept for the next draw.
///
/// A generator gives the sequence gasdev gives for the same seeds, bit for
/// bit on one platform (the last bits of a deviate follow the platform's
/// logarithm). Each object holds all of its state: two objects never share a
/// sequence and may draw on two threads at once; one object must not be used
/// by two threads at once. The uniforms are single precision, so the
/// deviates are coarse far in the tails: they suit simulated measurement
/// noise, not cryptography or tail statistics.
class QUILLON_API NormalGenerator {
public:
    /// A generator seeded from -|seed| at its first draw: the same seed
    /// always gives the same sequence, seed and -seed give the same one, and
    /// the sequence of seed s is that of gasdev seeded with -|s|. Every seed
    /// from -2147428874 to 2147428874 keeps the generators in range; seeds
    /// beyond (below -2147428874, or INT_MIN) start them out of range as
    /// draw() describes.
    /// @param seed the seed; -1 by default.
    constexpr explicit NormalGenerator(int seed = -1) noexcept : seed_(seed < 0 ? seed : -seed) {}

    /// The next deviate of the generator's own sequence (the seed given to
    /// the constructor, then 1).
    /// @return a standard normal deviate.
    double next() noexcept { return draw(seed_); }

    /// The next deviate, with the hosts' seed protocol.
    ///
    /// @param seed a negative value, or any value at the first draw of this
    ///        generator, reseeds from it and is then set to 1; a non-negative
    ///        value after that continues the sequence. A draw that returns the
    ///        kept deviate touches neither the generators nor seed (a negative
    ///        seed then takes effect at the draw after). Seeds from
    ///        -2147428874 to 54773 keep the generators in range. A seed above
    ///        54773 (or below -2147428874) starts them out of range, where
    ///        the uniforms may be negative or zero; after 4194304 rejected
    ///        pairs in one call NaN is returned rather than looping on.
    /// @return a standard normal deviate (NaN only as said above).
    double draw(int& seed) noexcept;

    /// The next uniform deviate, with the seed protocol of draw(); it
    /// consumes the sequence draw() uses (and ignores a deviate kept by
    /// draw()).
    ///
    /// @param seed as for draw().
    /// @return a single-precision value in [0, 1] (1.0 itself is possible
    ///         after rounding); with the generators out of range, a value in
    ///         [-1, 1].
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
