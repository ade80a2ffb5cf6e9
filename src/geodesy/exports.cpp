// The hosts' door to plane angles and the geodetic conversion, over the
// C++ API; conv adds its message on standard output.
#include <quillon/cpp/geodesy.hpp>

#include <cstdio>

#include "quillon/geodesy.h"

double arctan(double u, double v) { return quillon::bearing(u, v); }

double deltaAngle(double a, double b) { return quillon::angle_difference(a, b); }

double deltaAngle(double u, double v, double reference) { return quillon::bearing_difference(u, v, reference); }

int curveDirection(double a, double b) { return quillon::curve_direction(a, b); }

int conv(double* latitude, double* longitude, double* height, double* x, double* y, double* z, int direction) {
    if (direction == 1) {
        const quillon::GeodeticSolution solution = quillon::to_geodetic(quillon::Geocentric{*x, *y, *z});
        if (!solution.converged) std::printf("(xyz) --> (phi, lam, h) not convergent");
        // The order in which the hosts' conv has always written them.
        *longitude = solution.point.longitude;
        *latitude = solution.point.latitude;
        *height = solution.point.height;
    }
    if (direction == 2) {
        const quillon::Geocentric c = quillon::to_geocentric(quillon::Geodetic{*latitude, *longitude, *height});
        *x = c.x;
        *y = c.y;
        *z = c.z;
    }
    return 0;
}
