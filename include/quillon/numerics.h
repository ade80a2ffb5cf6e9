/// @file
/// Vectors and row-pointer matrices, inversion, and normal random deviates.
///
/// A vector made for n has elements 0..n (so both 0..n-1 and 1..n work); a
/// matrix made for nr, nc has rows 0..nr, each with columns 0..nc. Everything
/// returned belongs to the caller and goes back through the matching free
/// function (with the same row argument). Storage exhaustion gives null; no
/// exception leaves these functions. A count that cannot be a size (n below -1
/// for a vector or a row array, nc below -1 for the rows, or a byte size
/// beyond the address width) asks for the largest block and so gives null too;
/// a matrix or view builder that fails gives back what it had obtained. The
/// release functions ignore a null pointer.
#ifndef QUILLON_NUMERICS_H
#define QUILLON_NUMERICS_H

#include <quillon/export.h>

/// A vector of n + 1 floats, elements 0..n, not initialised; null on failure.
QUILLON_C QUILLON_API float* fvector(int n);
/// A vector of n + 1 ints, as fvector.
QUILLON_C QUILLON_API int* iVector(int n);
/// A vector of n + 1 doubles, as fvector.
QUILLON_C QUILLON_API double* dVector(int n);
/// A float matrix, rows 0..nr each with columns 0..nc, not initialised; null
/// on failure (with whatever it had obtained given back). nr of -1 gives an
/// empty row array.
QUILLON_C QUILLON_API float** matrix(int nr, int nc);
/// An int matrix, as matrix.
QUILLON_C QUILLON_API int** iMatrix(int nr, int nc);
/// A double matrix, as matrix; rows 0..nr-1, columns 0..nc-1 are set to 0.0,
/// row nr and column nc are not.
QUILLON_C QUILLON_API double** dMatrix(int nr, int nc);
/// View with view[newrl + (i - oldrl)][newcl + k] == source[i][oldcl + k].
QUILLON_C QUILLON_API float** subMatrix(float** source, int oldrl, int oldrh, int oldcl, int newrl, int newcl);
/// View over a row-by-row block: view[nrl + i][ncl + k] == block[i * ncol + k].
QUILLON_C QUILLON_API float** convertMatrix(float* block, int nrl, int nrh, int ncl, int nch);

/// Releases a vector from fvector; null is ignored.
QUILLON_C QUILLON_API void freeVector(float* v);
/// Releases a vector from iVector; null is ignored.
QUILLON_C QUILLON_API void freeIVector(int* v);
/// Releases a vector from dVector; null is ignored.
QUILLON_C QUILLON_API void freeDVector(double* v);
/// Releases a matrix from matrix, given the same nr: rows nr..0, then the row array.
QUILLON_C QUILLON_API void freeMatrix(float** m, int nr);
/// Releases a matrix from iMatrix, as freeMatrix.
QUILLON_C QUILLON_API void freeIMatrix(int** m, int nr);
/// Releases a matrix from dMatrix, as freeMatrix.
QUILLON_C QUILLON_API void freeDMatrix(double** m, int nr);
/// Releases the row array of a view from subMatrix, given the same newrl; the
/// source is left alone.
QUILLON_C QUILLON_API void freeSubMatrix(float** view, int newrl);
/// Releases the row array of a view from convertMatrix, given the same nrl.
QUILLON_C QUILLON_API void freeConvertMatrix(float** view, int nrl);

/// Gauss-Jordan inversion in place, rows and columns 0..n-1, full pivoting.
/// 1 when inverted, 0 when singular (the matrix then holds no result). Also 0
/// when the result would not be finite (NaN or infinite input, overflow), when
/// n is negative, and when scratch storage runs out (matrix unchanged then).
/// n == 0 gives 1 and touches nothing.
QUILLON_C QUILLON_API int gaussj(double** a, int n);
/// LU (Crout) inversion in place, rows and columns 1..n; row 0 and column 0
/// are never touched. Reports nothing: an all-zero row leaves the matrix
/// unchanged, a zero pivot becomes 1e-20 (a singular matrix gives entries near
/// 1e20). n of 0 or less, or scratch storage running out, leave the matrix
/// unchanged. NaN input gives NaN output.
QUILLON_C QUILLON_API void dInvert(double** a, int n);
/// Symmetric inversion in place through U-D factors, rows and columns 0..n-1,
/// without pivoting; reads the upper triangle, writes both. 0 when a pivot's
/// magnitude is below 1e-11 (absolute, so 1e-12 times the identity fails) or
/// is not finite (NaN or infinite input), and for a negative n; the matrix is
/// then partly overwritten and holds no result. Also 0 when scratch storage
/// for an n above 16 runs out (matrix unchanged then). n == 0 gives 1.
QUILLON_C QUILLON_API int spdinv(double** a, int n);

/// Standard normal deviate (polar method). A negative *seed reseeds the
/// process-wide generator and is then set to 1; the first call in the process
/// seeds from *seed whatever it holds. Every second call returns the deviate
/// saved by the call before and touches neither generator nor seed. Seed with
/// a negative value: a seed above 54773 starts the generator out of range,
/// where it may give NaN (after 4194304 rejected pairs in one call) instead of
/// a deviate. Not safe for concurrent use.
QUILLON_C QUILLON_API double gasdev(int* seed);

#endif
