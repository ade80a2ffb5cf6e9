// Plane directions in degrees.
#include <quillon/cpp/geodesy.hpp>

#include <cmath>

namespace quillon {
namespace {

constexpr double kPi = 3.141592653589793;

// One turn added or taken away, once: exactly +-180 stay as they are.
double foldOnce(double x) {
    if (x > 180.0) return x - 360.0;
    if (x < -180.0) return x + 360.0;
    return x;
}

}  // namespace

double bearing(double east, double north) noexcept {
    if (north == 0.0 && east == 0.0) return 0.0;
    double theta = std::atan2(east, north) * 180.0 / kPi;
    if (theta < 0.0) theta += 360.0;
    return theta;
}

double angle_difference(double a, double b) noexcept { return foldOnce(a - b); }

double bearing_difference(double east, double north, double reference) noexcept {
    return foldOnce(bearing(east, north) - reference);
}

int curve_direction(double a, double b) noexcept {
    const double A = foldOnce(a);
    const double B = foldOnce(b);
    const bool increases = (A > 0.0 && B > 0.0 && B > A) || (A < 0.0 && B < 0.0 && B > A) ||
                           (A < 0.0 && B > 0.0 && B - A < 180.0) || (A > 0.0 && B < 0.0 && A - B > 180.0);
    return increases ? -1 : 1;
}

}  // namespace quillon
