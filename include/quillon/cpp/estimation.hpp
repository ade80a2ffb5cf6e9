/// @file
/// Robust statistics and estimation: the median, a least-absolute-deviation
/// straight-line fit, a running median filter for time-stamped samples, and
/// the position of a reference point from observations of known stations.
///
/// Every median here is taken by one rule: sort ascending, then the middle
/// value, or (low + high) * 0.5 of the two middle ones. None of these calls
/// attaches a unit to its numbers: values, times and tolerances are in the
/// caller's units.
#ifndef QUILLON_CPP_ESTIMATION_HPP
#define QUILLON_CPP_ESTIMATION_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <limits>
#include <vector>

namespace quillon {

/// Sorts values ascending in place and returns their median, exactly (no
/// rounding but that of the mean of the two middle values).
///
/// @param values n numbers; left sorted, a rearrangement callers may use.
/// @param n how many; 0 gives NaN and touches nothing.
/// @return the middle value, or the mean of the two middle ones. NaN samples
/// lose every comparison: the array keeps its values, but their order and the
/// median are then arbitrary (filter NaN out first).
QUILLON_API double sort_and_median(double* values, std::size_t n) noexcept;

/// The median of values; see sort_and_median().
/// @param values the numbers; a copy is sorted.
/// @return their median; NaN for none.
inline double median(std::vector<double> values) noexcept { return sort_and_median(values.data(), values.size()); }

/// A straight line y = a + b x and its mean absolute deviation.
struct Line {
    double a = 0.0;             ///< intercept, in the unit of y
    double b = 0.0;             ///< slope, in units of y per unit of x
    double mean_abs_dev = 0.0;  ///< mean of |y - a - b x| over the points, in the unit of y
};

/// The hosts' least-absolute-deviation fit (centTendFit) with its working
/// record as this object's own: two LineFit objects may fit on two threads
/// at once (one object must not fit on two threads at once). An object
/// keeps scratch of the size of its largest fit so far, so fitting many
/// sets with one object allocates once.
///
/// The slope is found by bisection of the optimality sum from a bracket
/// around the least-squares slope, 3 standard errors wide, to 0.01 standard
/// errors; the intercept is the median of y - b x. A few wild points pull
/// the line far less than they pull a least-squares line. The bisection can
/// settle short of the true optimum: on random sets with one outlier in
/// five, about 3 fits in 100 have a mean absolute deviation more than 1%
/// above the least possible one, and about 1 in 75 more than 10%.
class QUILLON_API LineFit {
public:
    /// Fits a line to n points.
    ///
    /// @param x the abscissae (n of them), not changed.
    /// @param y the ordinates (n of them), not changed.
    /// @param n the number of points, 1 or more.
    /// @return the line; points exactly on a line (least-squares slope error
    /// below 1e-7) give that line with deviation 0. Errors: invalid_argument
    /// for n of 0; singular when the abscissae are all equal (n * sum(x^2) -
    /// sum(x)^2 below 1e-8 in magnitude, n of 1 included): no slope can be
    /// told; not_finite for a NaN or infinite coordinate, sums that overflow,
    /// or abscissae too close together for their spread to be resolved;
    /// not_converged when the widening of the bracket can never end (the
    /// slope stops changing in floating point or leaves the doubles) or has
    /// not ended within its work limit, a fraction of a second of sorting
    /// (some 2.5 * 10^6 steps on five points); no_memory when scratch for n
    /// numbers cannot be had. The widening otherwise runs as long as it
    /// takes: with repeated abscissae it can need 10^5 steps and more and
    /// end on an extreme line.
    Result<Line> fit(const double* x, const double* y, std::size_t n) noexcept;

private:
    double cost(double b) noexcept;

    const double* x_ = nullptr;
    const double* y_ = nullptr;
    std::size_t n_ = 0;
    std::vector<double> scratch_;
    double intercept_ = 0.0;
    double abs_dev_sum_ = 0.0;
};

/// The exact least-absolute-deviation line: of all lines y = a + b x, one
/// with the least sum of |y - a - b x| over the points (the optimum need not
/// be unique; any line of least sum may come back). It is found by
/// weighted-median descent: some best line passes through two of the
/// points, and with the line held through one point the best slope is the
/// weighted median of the slopes to the others (weights |x - x_pivot|);
/// pivoting on the second point met lowers the sum at every step until no
/// rotation about a point on the line lowers it further. Each step takes
/// linear time and a handful of steps suffice (about 10^5 points in a few
/// hundredths of a second). The sum is exact up to the rounding of the
/// slopes: within a few units in the last place of the least one. Unlike
/// LineFit (the hosts' bisection, which can stop well above the optimum),
/// it has no tolerance and no widening. Reentrant; allocates two arrays of
/// n entries.
///
/// @param x the abscissae (n of them), not changed.
/// @param y the ordinates (n of them), not changed.
/// @param n the number of points, 2 or more.
/// @return the line and its mean absolute deviation; the line passes through
/// two of the points. Errors: invalid_argument for fewer than 2 points;
/// singular when the abscissae are all equal; not_finite for a NaN or
/// infinite coordinate; no_memory when the arrays cannot be had.
QUILLON_API Result<Line> lad_fit(const double* x, const double* y, std::size_t n) noexcept;

/// The outcome of one sample given to a median filter.
struct SampleOutcome {
    bool accepted = false;  ///< the sample lies within the tolerance of the median of recent ones
    double output = 0.0;    ///< the median when accepted, otherwise the sample itself
    int status = 0;         ///< 0 not accepted, 1 median of 3 or 4 samples, 2 median of 5 or more
};

/// Largest window of a median filter, in samples.
constexpr int kMaxFilterWindow = 30;

/// The storage of a median filter, owned by the caller: a MedianFilter's, or
/// the fields of the hosts' FilterData. Only the first `window` slots of the
/// two arrays are ever read or written.
struct SampleRing {
    double* values;   ///< sample values, at least `window` slots; 0.0 is a missing reading
    double* times;    ///< sample times, at least `window` slots, in the caller's time unit
    int* last_index;  ///< slot of the newest sample; 0 in a new ring (the first sample goes to slot 1)
    int* count;       ///< samples held, 0..window; 0 in a new ring
    int window;       ///< samples in the ring, 1..30; others are clamped into that range
    double gate;      ///< largest age of a sample (newest time minus its time) that may enter a median
};

/// Adds a sample to the ring and screens it against the median of recent
/// samples.
///
/// The sample goes into the slot after the newest, overwriting the oldest
/// once the ring is full. Then the non-zero samples are gathered walking
/// back from the new one, stopping at the first sample older than the gate
/// (it is not skipped), after the samples held, at 20 gathered, or at exactly
/// max_samples gathered. With 5 or more gathered, the sample is accepted when
/// it lies strictly within tolerance of their median (status 2); with 3 or
/// 4, when besides at least 3 of them do (status 1); with fewer it is not
/// accepted. The ring's indexes are brought back into range first, so no
/// slot outside the window is ever read or written, whatever they held.
/// Nothing is allocated.
///
/// @param ring the storage; its last index and count are updated.
/// @param value the sample; 0.0 is a missing reading, stored but never
///        gathered (and never accepted); NaN is gathered but never accepted,
///        and makes later medians arbitrary while it stays in the window.
/// @param time the sample's time; samples are expected in time order (a
///        later time already in the ring passes the gate).
/// @param tolerance largest distance from the median, exclusive, in the unit
///        of the values.
/// @param max_samples most samples in one median; 1..20 limit it, other
///        values leave the limit at 20 (0 stops the walk at once when the new
///        sample is 0.0).
/// @return whether the sample was accepted, the output and the status.
QUILLON_API SampleOutcome add_sample(const SampleRing& ring, double value, double time, double tolerance,
                                     int max_samples) noexcept;

/// A running median filter that owns its ring (the hosts' FilterData
/// without the public fields). A plain value: copies are independent
/// filters.
class QUILLON_API MedianFilter {
public:
    /// An empty filter.
    /// @param window samples kept, clamped to 1..30.
    /// @param gate largest age of a sample that may enter a median, in the
    ///        unit of the times.
    explicit MedianFilter(int window = 20, double gate = 500.0) noexcept;
    /// Adds a sample and screens it against the median of recent ones, as
    /// add_sample() does.
    /// @param value the sample; 0.0 is a missing reading.
    /// @param time the sample's time, in the unit of the gate.
    /// @param tolerance largest distance from the median, exclusive.
    /// @param max_samples most samples in one median (1..20; others: 20).
    /// @return whether the sample was accepted, the output and the status.
    SampleOutcome add(double value, double time, double tolerance, int max_samples = 20) noexcept;
    /// @return the samples kept, 1..30.
    int window() const noexcept { return window_; }
    /// @return the samples held so far, up to window().
    int count() const noexcept { return count_; }

private:
    double values_[kMaxFilterWindow] = {};
    double times_[kMaxFilterWindow] = {};
    int last_index_ = 0;
    int count_ = 0;
    int window_;
    double gate_;
};

/// Kinds of observation of the position estimator. An ObservationKind cast
/// from another integer is no kind: such an observation contributes nothing.
enum class ObservationKind : int {
    slope_range = 0,       ///< slope range from `station` to the sensor
    range_difference = 1,  ///< horizontal range to `other_station` minus that to `station`
    northing = 2,          ///< the sensor's northing
    easting = 3,           ///< the sensor's easting
    origin_range = 4,      ///< slope range from the coordinate origin to the sensor
    origin_bearing = 5,    ///< bearing of the sensor from the origin, degrees clockwise from north
    bearing = 6,           ///< bearing of the sensor from `station`, degrees clockwise from north
    height = 7,            ///< the sensor's height
};

/// A known station, in plane grid coordinates of one length unit.
struct Station {
    double easting = 0.0;   ///< x
    double northing = 0.0;  ///< y
    double height = 0.0;    ///< z
};

/// One observation.
struct Observation {
    ObservationKind kind = ObservationKind::easting;  ///< what was observed
    double value = 0.0;  ///< in the length unit of the stations, or degrees for bearings
    double sigma = 0.0;  ///< standard deviation, in the unit of value; the weight is 1 / sigma^2; 0.0 leaves it out
    std::size_t station = 0;        ///< index of the station (slope_range, range_difference, bearing)
    std::size_t other_station = 0;  ///< index of the second station (range_difference)
};

/// The platform the sensor is mounted on.
struct Platform {
    double heading = 0.0;  ///< degrees clockwise from north
    double pitch = 0.0;    ///< degrees; tilts the vertical offset forward
    double roll = 0.0;     ///< degrees; tilts the vertical offset to the right
    /// Sensor offset from the reference point in the platform frame: right,
    /// forward, up, in the length unit. The up part is added to the height
    /// as it is, without a tilt correction.
    double offset[3] = {0.0, 0.0, 0.0};
};

/// A position in plane grid coordinates.
struct Position {
    double easting = 0.0;   ///< x
    double northing = 0.0;  ///< y
    double height = 0.0;    ///< z
};

/// The result of solve_position().
struct PositionSolution {
    Position position;   ///< the estimated reference point
    int iterations = 0;  ///< Gauss-Newton iterations taken, 1..10
    /// Standard deviations of the easting, northing and height of the
    /// position, in the length unit, propagated from the observations'
    /// sigmas: the square roots of the diagonal of the inverse of the normal
    /// matrix, formed anew at the position. They take the sigmas as true;
    /// multiply by sigma0 for those the residuals suggest. The height's is
    /// NaN when dims is 2 (it is held, not solved); all three are NaN when
    /// the normal matrix at the position cannot be inverted.
    double standard_deviation[3] = {0.0, 0.0, std::numeric_limits<double>::quiet_NaN()};
    /// The a-posteriori standard deviation of unit weight, sqrt(sum((residual
    /// / sigma)^2) / redundancy) over the observations used, with the
    /// residuals at the position: near 1 when the sigmas describe the
    /// observations, larger when the observations disagree more than their
    /// sigmas allow. NaN when the redundancy is 0 (nothing to judge by).
    double sigma0 = std::numeric_limits<double>::quiet_NaN();
    /// Observations used (a known kind and a non-zero sigma) minus the
    /// unknowns solved (dims); 0 or less leaves no check on the result.
    int redundancy = 0;
};

/// Estimates the reference point from the observations by iterated weighted
/// least squares (Gauss-Newton), as the hosts' estimator does: from start,
/// at most 10 iterations, until a correction of easting and northing below 1
/// unit (|de| + |dn|) has been applied. Every observation is computed for
/// the sensor point (the reference point plus the platform's offset), and
/// the corrections are applied to the reference point.
///
/// The iteration stops at the first correction below 1 unit. Gauss-Newton
/// usually leaves the remaining error far smaller, but not always at full
/// precision, and the height takes no part in the test: where that matters,
/// solve again from the result until the position settles (a second call
/// from a converged result reaches about 1e-9 units on good geometry).
/// Nothing is allocated.
///
/// @param stations the known stations; may be null when station_count is 0.
/// @param station_count how many.
/// @param observations the observations, in any order.
/// @param count how many.
/// @param platform the sensor's mounting.
/// @param start the starting estimate; within a few units of the answer for
///        ranges and bearings, anywhere for direct observations.
/// @param dims 2 solves easting and northing with the height held at start;
///        3 solves all three.
/// @return the position, the iterations taken and the position's standard
/// deviations, sigma0 and redundancy (formed at the position, with one more
/// pass over the observations). Errors: invalid_argument
/// for dims other than 2 or 3, or a station index outside the stations in an
/// observation that uses it (a slope_range, range_difference or bearing with
/// a non-zero sigma); singular when the observations leave the position
/// undetermined (none usable, all sigmas 0, a direction not observed, or a
/// normal matrix with a pivot below 1e-11); not_finite when a NaN or an
/// infinity reaches the normal equations (among the inputs, or from a sensor
/// point on a station or on the origin, which ranges and bearings divide by);
/// not_converged after 10 iterations; out_of_range when a correction exceeds
/// 100000 units (the estimate runs away).
QUILLON_API Result<PositionSolution> solve_position(const Station* stations, std::size_t station_count,
                                                    const Observation* observations, std::size_t count,
                                                    const Platform& platform, const Position& start,
                                                    int dims) noexcept;

/// The residual of one observation for the reference point at `at`: the
/// quantity the estimator drives towards zero.
///
/// @param observation the observation (its sigma is not used).
/// @param stations the known stations; may be null when station_count is 0.
/// @param station_count how many.
/// @param platform the sensor's mounting.
/// @param at the reference point.
/// @return computed minus observed, in the unit of the observation; bearings
/// folded into -180..180 degrees. 0.0 for a kind that is no kind. NaN for a
/// station index outside the stations (of a kind that uses it).
QUILLON_API double observation_residual(const Observation& observation, const Station* stations,
                                        std::size_t station_count, const Platform& platform,
                                        const Position& at) noexcept;

}  // namespace quillon

#endif
