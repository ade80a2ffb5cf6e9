/// @file
/// Plane directions in degrees, and earth-centred Cartesian coordinates to
/// and from geodetic latitude, longitude and height on the WGS 84 ellipsoid.
#ifndef QUILLON_CPP_GEODESY_HPP
#define QUILLON_CPP_GEODESY_HPP

#include <quillon/export.h>

#include <cstddef>

namespace quillon {

/// Direction of the vector (east, north) in [0, 360) degrees, clockwise from
/// north: (1, 1) -> 45, (-1, 0) -> 270; (0, 0) -> 0.
QUILLON_API double bearing(double east, double north) noexcept;
/// a - b folded once by a turn into [-180, 180] (for a - b within +-540):
/// (10, 350) -> 20; (190, 10) -> 180.
QUILLON_API double angle_difference(double a, double b) noexcept;
/// bearing(east, north) - reference, folded once: (1, 1, 30) -> 15.
QUILLON_API double bearing_difference(double east, double north, double reference) noexcept;
/// -1 when direction b is reached from a by an increase of less than 180
/// degrees (both folded once, neither 0), otherwise 1: (10, 20) -> -1;
/// (350, 10) -> -1; (20, 10) -> 1.
QUILLON_API int curve_direction(double a, double b) noexcept;

constexpr double kWgs84SemiMajorAxis = 6378137.0;          ///< a, metres
constexpr double kWgs84SemiMinorAxis = 6356752.314245179;  ///< b, metres

/// Geodetic coordinates on WGS 84.
struct Geodetic {
    double latitude = 0.0;   ///< radians, -pi/2..pi/2
    double longitude = 0.0;  ///< radians
    double height = 0.0;     ///< metres above the ellipsoid
};
/// Earth-centred, earth-fixed Cartesian coordinates, metres.
struct Geocentric {
    double x = 0.0;  ///< towards latitude 0, longitude 0
    double y = 0.0;  ///< towards latitude 0, longitude 90 east
    double z = 0.0;  ///< towards the north pole
};

/// Geodetic to geocentric, closed form: (pi/4, pi/6, 100 m) ->
/// (3912409.702, 2258830.795, 4487419.120) m.
QUILLON_API Geocentric to_geocentric(const Geodetic& point) noexcept;

/// A geocentric-to-geodetic conversion and whether its iteration settled.
struct GeodeticSolution {
    Geodetic point;          ///< the result; also when not converged
    bool converged = true;   ///< false when the iteration did not settle within its limit
};
/// Geocentric to geodetic, by the fixed-point iteration of tan(latitude)
/// the hosts' conv uses (to a change of at most 1e-15, 300 rounds and one
/// more at most); the longitude is atan2(y, x). On the polar axis the
/// latitude is +-pi/2 (the sign of z) and the height |z| - b. NaN input
/// gives NaN and converged false; no input makes the call hang.
QUILLON_API GeodeticSolution to_geodetic(const Geocentric& point) noexcept;

/// to_geocentric() of n points given as separate arrays (radians, metres).
/// The outputs may be the input arrays themselves.
QUILLON_API void to_geocentric(const double* latitude, const double* longitude, const double* height, double* x,
                               double* y, double* z, std::size_t n) noexcept;
/// to_geodetic() of n points; returns how many did not converge. Each
/// point's result is bit for bit that of to_geodetic() alone. The outputs
/// may be the input arrays themselves.
QUILLON_API std::size_t to_geodetic(const double* x, const double* y, const double* z, double* latitude,
                                    double* longitude, double* height, std::size_t n) noexcept;

}  // namespace quillon

#endif
