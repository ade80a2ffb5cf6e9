/// @file
/// Plane directions in degrees, and conversion between earth-centred
/// Cartesian coordinates and geodetic coordinates on WGS 84 (radians, meters),
/// for the hosts. C++ programs use <quillon/cpp/geodesy.hpp> instead.
#ifndef QUILLON_GEODESY_H
#define QUILLON_GEODESY_H

#include <quillon/export.h>

/// Direction of the vector (u, v) in [0, 360) degrees: with east first and
/// north second, a bearing clockwise from north. arctan(0, 0) is 0. (A
/// direction less than about 3e-14 degrees west of north rounds up to 360.)
QUILLON_C QUILLON_API double arctan(double u, double v);
/// a - b folded once into [-180, 180] (for a - b within +-540).
QUILLON_C QUILLON_API double deltaAngle(double a, double b);
/// arctan(u, v) - reference, folded once.
QUILLON_API double deltaAngle(double u, double v, double reference);
/// -1 when b is reached from a by an increase of less than 180 degrees
/// (neither folded direction 0), otherwise 1.
QUILLON_C QUILLON_API int curveDirection(double a, double b);

/// Geocentric and geodetic coordinates on WGS 84: latitude and longitude in
/// radians, height and x, y, z in meters.
/// - direction 1: x, y, z -> latitude, longitude, height, by iterating
///   tan(latitude) to a change of at most 1e-15; when that fails within 300
///   (and one more) iterations, "(xyz) --> (phi, lam, h) not convergent" goes
///   to standard output (no line end) and the last value is used. An
///   iteration that returns to a value it has already produced has settled
///   (this happens near the poles, where neighbouring doubles of
///   tan(latitude) are more than 1e-15 apart) and ends without the message.
///   On the polar axis (x = y = 0): latitude +pi/2 for z >= +0 and -pi/2 for
///   z <= -0 (so the centre is the north pole at height -b), height |z| - b
///   (b = 6356752.314245179 m), longitude atan2(y, x). Near the axis (but
///   off it) the height, formed as p / cos(latitude) - N, loses accuracy as
///   about (N + h)^2 * 1e-16 / p with p the distance from the axis: 0.2 mm at
///   300 m, 4 mm at 1 m, over a meter at 1 mm from it on the surface.
///   A NaN among x, y, z gives NaN latitude and height and the message (on
///   the polar axis too); infinite input returns without hanging.
/// - direction 2: latitude, longitude, height -> x, y, z (closed form).
/// - any other direction: nothing is read or written.
///
/// Always returns 0.
QUILLON_C QUILLON_API int conv(double* latitude, double* longitude, double* height, double* x, double* y,
                               double* z, int direction);

#endif
