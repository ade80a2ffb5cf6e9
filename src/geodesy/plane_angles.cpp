// Plane directions in degrees.
#include <cmath>

#include "quillon/geodesy.h"

namespace {

constexpr double kPi = 3.141592653589793;

// One turn added or taken away, once: exactly +-180 stay as they are.
double foldOnce(double x) {
    if (x > 180.0) return x - 360.0;
    if (x < -180.0) return x + 360.0;
    return x;
}

}  // namespace

double arctan(double u, double v) {
    if (v == 0.0 && u == 0.0) return 0.0;
    double theta = std::atan2(u, v) * 180.0 / kPi;
    if (theta < 0.0) theta += 360.0;
    return theta;
}

double deltaAngle(double a, double b) { return foldOnce(a - b); }

double deltaAngle(double u, double v, double reference) { return foldOnce(arctan(u, v) - reference); }

int curveDirection(double a, double b) {
    const double A = foldOnce(a);
    const double B = foldOnce(b);
    const bool increases = (A > 0.0 && B > 0.0 && B > A) || (A < 0.0 && B < 0.0 && B > A) ||
                           (A < 0.0 && B > 0.0 && B - A < 180.0) || (A > 0.0 && B < 0.0 && A - B > 180.0);
    return increases ? -1 : 1;
}
