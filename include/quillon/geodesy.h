// Plane directions in degrees, and conversion between earth-centred
// Cartesian coordinates and geodetic coordinates on WGS 84 (radians, meters).
#ifndef QUILLON_GEODESY_H
#define QUILLON_GEODESY_H

#include <quillon/export.h>

// Direction of the vector (u, v) in [0, 360) degrees: with east first and
// north second, a bearing clockwise from north. arctan(0, 0) is 0.
QUILLON_C QUILLON_API double arctan(double u, double v);
// a - b folded once into [-180, 180] (for a - b within +-540).
QUILLON_C QUILLON_API double deltaAngle(double a, double b);
// arctan(u, v) - reference, folded once.
QUILLON_API double deltaAngle(double u, double v, double reference);
// -1 when b is reached from a by an increase of less than 180 degrees
// (neither folded direction 0), otherwise 1.
QUILLON_C QUILLON_API int curveDirection(double a, double b);

// direction 1: x, y, z -> latitude, longitude, height;
// direction 2: latitude, longitude, height -> x, y, z; any other: nothing.
// Always returns 0.
QUILLON_C QUILLON_API int conv(double* latitude, double* longitude, double* height, double* x, double* y,
                               double* z, int direction);

#endif
