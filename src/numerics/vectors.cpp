// Vectors of n + 1 elements, so that both 0..n-1 and 1..n are usable.
#include "numerics/allocation.h"
#include "quillon/numerics.h"

using quillon::numerics::allocateElements;
using quillon::numerics::releaseElements;

float* fvector(int n) { return allocateElements<float>(n + 1LL); }

int* iVector(int n) { return allocateElements<int>(n + 1LL); }

double* dVector(int n) { return allocateElements<double>(n + 1LL); }

void freeVector(float* v) { releaseElements(v); }

void freeIVector(int* v) { releaseElements(v); }

void freeDVector(double* v) { releaseElements(v); }
