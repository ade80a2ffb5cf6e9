// The two halves of the symmetric inversion, in place on rows and columns
// 0..n-1 of a row-pointer matrix.
//
// A pivot fails when its magnitude is below 1e-11 (an absolute bound, not one
// relative to the matrix) or when it is not a finite number: a NaN or an
// infinity in the upper triangle always reaches a pivot, so non-finite input
// fails instead of yielding a NaN "inverse". A negative n fails at once and
// touches nothing; n == 0 succeeds and touches nothing.
#ifndef QUILLON_NUMERICS_UD_FACTOR_H
#define QUILLON_NUMERICS_UD_FACTOR_H

namespace quillon::numerics {

constexpr double kUdPivotBound = 1e-11;

// True when d may be divided by.
bool usablePivot(double d);

// U D U' factors from the last column backwards, reading the upper triangle:
// D on the diagonal, U's off-diagonal part above it, zeros below. 1 when
// complete, 0 at the first failing pivot (the matrix is then partly factored).
int udFactor(double** a, int n);

// Replaces the factors by W = inverse of U above the diagonal and the
// reciprocals of D on it, zeros below. 0 when a diagonal element fails.
int udInvert(double** a, int n);

}  // namespace quillon::numerics

#endif
