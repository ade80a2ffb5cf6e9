/// @file
/// Plane directions in degrees, and earth-centred Cartesian coordinates to
/// and from geodetic latitude, longitude and height on the WGS 84 ellipsoid.
#ifndef QUILLON_CPP_GEODESY_HPP
#define QUILLON_CPP_GEODESY_HPP

#include <quillon/export.h>

#include <cstddef>

namespace quillon {

/// Direction of the vector (east, north), in degrees clockwise from north:
/// atan2(east, north) turned into [0, 360]: (1, 1) -> 45, (-1, 0) -> 270,
/// (0, -1) -> 180; (0, 0) -> 0; (inf, inf) -> 45. A direction less than
/// about 3e-14 degrees west of north rounds up to 360, and (-0, 1) gives
/// -0. A NaN component gives NaN. Correct to a few units in the last place
/// (within about 2e-13 degrees).
QUILLON_API double bearing(double east, double north) noexcept;
/// a - b in degrees, folded once by a turn: less 360 above 180, plus 360
/// below -180, so the result lies in [-180, 180] for a - b within +-540
/// (beyond, it is off by the remaining turns): (10, 350) -> 20;
/// (350, 10) -> -20; (190, 10) -> 180 (exactly 180 and -180 stay);
/// (600, 0) -> 240.
QUILLON_API double angle_difference(double a, double b) noexcept;
/// bearing(east, north) - reference, in degrees, folded once as
/// angle_difference() folds it: (1, 1, 30) -> 15; (-1, 1, 10) -> -55;
/// (0, 0, 90) -> -90.
QUILLON_API double bearing_difference(double east, double north, double reference) noexcept;
/// The turning sense from direction a to direction b, in degrees: -1 when b
/// is reached from a by an increase of less than 180 degrees, otherwise 1.
/// Both are folded once into [-180, 180] first (as angle_difference()
/// folds), and the comparisons are strict: equal directions, directions
/// 180 degrees apart, and a folded direction of exactly 0 give 1, as does a
/// NaN. (10, 20) -> -1; (20, 10) -> 1; (350, 10) -> -1; (170, -170) -> -1;
/// (0, 10) -> 1.
QUILLON_API int curve_direction(double a, double b) noexcept;

constexpr double kWgs84SemiMajorAxis = 6378137.0;          ///< a, metres
constexpr double kWgs84SemiMinorAxis = 6356752.314245179;  ///< b, metres

/// Geodetic coordinates on WGS 84.
struct Geodetic {
    double latitude = 0.0;   ///< radians, -pi/2..pi/2
    double longitude = 0.0;  ///< radians; any value (to_geodetic() gives -pi..pi)
    double height = 0.0;     ///< metres above the ellipsoid, along its normal
};
/// Earth-centred, earth-fixed Cartesian coordinates, metres.
struct Geocentric {
    double x = 0.0;  ///< towards latitude 0, longitude 0
    double y = 0.0;  ///< towards latitude 0, longitude 90 east
    double z = 0.0;  ///< towards the north pole
};

/// Geodetic to geocentric, closed form: (pi/4, pi/6, 100 m) ->
/// (3912409.702, 2258830.795, 4487419.120) m. Within 5e-8 m of
/// GeographicLib's Geocentric::Forward for heights from -10 km to
/// 40,000 km (a few units in the last place). A latitude outside
/// -pi/2..pi/2 is not checked: it is taken as it comes through sin and cos.
/// NaN in gives NaN out.
QUILLON_API Geocentric to_geocentric(const Geodetic& point) noexcept;

/// A geocentric-to-geodetic conversion and whether its iteration settled.
struct GeodeticSolution {
    Geodetic point;          ///< the result; also when not converged (then from the iteration's last value)
    bool converged = true;   ///< false when the iteration did not settle within its limit
};
/// Geocentric to geodetic, by the fixed-point iteration of tan(latitude)
/// the hosts' conv uses: from z / p (p the distance from the polar axis),
/// to a change of at most 1e-15, 300 rounds and one more at most. Near the
/// poles neighbouring doubles of tan(latitude) lie more than 1e-15 apart and
/// the values can circle among a few of them: a value that repeats an
/// earlier one within a cycle at most 4 units in the last place wide has
/// settled too. A wider cycle is a genuine non-convergence (x = 40000 m,
/// y = 0, z = 10000 m, deep inside the earth, alternates between latitudes
/// of about 0.28 and -1.46 rad): the rounds run to the limit and the result
/// is the last one, with converged false. Every ordinary point converges: the latitude is then within
/// 1e-15 rad and the longitude within 1e-15 rad of GeographicLib's
/// Geocentric::Reverse, the height within 1e-6 m below 89 degrees of
/// latitude. Nearer the axis the height, formed as p / cos(latitude) - N,
/// loses accuracy as about (N + h)^2 * 1e-16 / p: 0.2 mm at 300 m from the
/// axis, 4 mm at 1 m, over a metre at 1 mm. The longitude is atan2(y, x).
/// On the polar axis (x = y = 0) the latitude is +pi/2 for z >= +0 and
/// -pi/2 for z <= -0 (the centre is the north pole at height -b) and the
/// height |z| - b. A NaN among x, y, z gives NaN latitude and height and
/// converged false, as do x or y infinite together with an infinite z;
/// other infinite input converges to a latitude of 0 or +-pi/2. No input
/// makes the call hang.
QUILLON_API GeodeticSolution to_geodetic(const Geocentric& point) noexcept;

/// to_geocentric() of n points given as separate arrays: latitude and
/// longitude in radians, height and x, y, z in metres. Each point's result
/// is bit for bit that of to_geocentric() alone. The outputs may be the
/// input arrays themselves (x the latitude array, and so on); otherwise
/// the arrays must not overlap. Nothing is read or written for n = 0.
QUILLON_API void to_geocentric(const double* latitude, const double* longitude, const double* height, double* x,
                               double* y, double* z, std::size_t n) noexcept;
/// to_geodetic() of n points given as separate arrays (x, y, z in metres;
/// latitude and longitude in radians, height in metres); returns how many
/// did not converge. Each point's result is bit for bit that of
/// to_geodetic() alone. Eight points at a time run the iteration in
/// lockstep (in AVX registers where the processor has them, chosen at run
/// time, plain loops otherwise), so many points cost about half as much
/// each as one point alone; points that need more than 12 rounds, and
/// points on the axis, are converted alone. The outputs may be the input arrays themselves
/// (latitude the x array, and so on); otherwise the arrays must not overlap.
/// Nothing is read or written for n = 0.
QUILLON_API std::size_t to_geodetic(const double* x, const double* y, const double* z, double* latitude,
                                    double* longitude, double* height, std::size_t n) noexcept;

}  // namespace quillon

#endif
