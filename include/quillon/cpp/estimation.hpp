/// @file
/// Robust statistics and estimation: the median, a least-absolute-deviation
/// straight-line fit, a running median filter for time-stamped samples, and
/// the position of a reference point from observations of known stations.
#ifndef QUILLON_CPP_ESTIMATION_HPP
#define QUILLON_CPP_ESTIMATION_HPP

#include <quillon/cpp/result.hpp>
#include <quillon/export.h>

#include <cstddef>
#include <vector>

namespace quillon {

/// Sorts values[0..n-1] ascending in place and returns their median: the
/// middle value, or the mean of the two middle ones. n of 0 gives NaN. NaN
/// samples lose every comparison: the array keeps its values, but their
/// order and the median are then arbitrary.
QUILLON_API double sort_and_median(double* values, std::size_t n) noexcept;
/// The median of values (a copy is sorted); NaN for none.
inline double median(std::vector<double> values) noexcept { return sort_and_median(values.data(), values.size()); }

/// A straight line y = a + b x and its mean absolute deviation.
struct Line {
    double a = 0.0;             ///< intercept
    double b = 0.0;             ///< slope
    double mean_abs_dev = 0.0;  ///< mean of |y - a - b x| over the points
};

/// The hosts' least-absolute-deviation fit (centTendFit) with its working
/// record as this object's own: two LineFit objects may fit on two threads
/// at once. The slope is found by bisection of the optimality sum from a
/// bracket around the least-squares slope, 3 standard errors wide, to
/// 0.01 standard errors; the intercept is the median of y - b x. The
/// bisection can settle short of the true optimum.
class QUILLON_API LineFit {
public:
    /// Fits n points. Points exactly on a line give that line with
    /// deviation 0. Errors: invalid_argument for n of 0; singular when the
    /// abscissae are all equal (their spread below 1e-8, n of 1 included):
    /// no slope can be told; not_finite for a NaN or infinite coordinate,
    /// sums that overflow, or abscissae too close together for their spread
    /// to be resolved; not_converged when no bracket of the optimum is
    /// found.
    Result<Line> fit(const double* x, const double* y, std::size_t n) noexcept;
    /// The optimality sum at trial slope b for the points of the fit under
    /// way (the sum of x over points above the line minus that over the
    /// others), recording the intercept (the median of y - b x) and the sum
    /// of absolute deviations. Only meaningful inside fit().
    double cost(double b) noexcept;

private:
    const double* x_ = nullptr;
    const double* y_ = nullptr;
    std::size_t n_ = 0;
    std::vector<double> scratch_;
    double intercept_ = 0.0;
    double abs_dev_sum_ = 0.0;
};

/// The outcome of one sample given to a median filter.
struct SampleOutcome {
    bool accepted = false;  ///< the sample lies within the tolerance of the median of recent ones
    double output = 0.0;    ///< the median when accepted, otherwise the sample itself
    int status = 0;         ///< 0 not accepted, 1 median of 3 or 4 samples, 2 median of 5 or more
};

/// Largest window of a median filter, in samples.
constexpr int kMaxFilterWindow = 30;

/// The storage of a median filter, owned by the caller: a MedianFilter's, or
/// the fields of the hosts' FilterData.
struct SampleRing {
    double* values;   ///< kMaxFilterWindow sample values; 0.0 is a missing reading
    double* times;    ///< kMaxFilterWindow sample times
    int* last_index;  ///< slot of the newest sample
    int* count;       ///< samples held, 0..window
    int window;       ///< samples in the ring, 1..30 (clamped)
    double gate;      ///< largest age of a sample that may enter a median
};

/// Adds a sample at time to the ring and screens it against the median of
/// the recent non-zero samples, walking back from the newest and stopping at
/// the first one older than the gate, at 20 samples, or at max_samples. With
/// 5 or more gathered, the sample is accepted when it lies strictly within
/// tolerance of their median; with 3 or 4, when besides at least 3 of them
/// do. The ring's indexes are brought back into range first, so no slot
/// outside it is ever read or written.
QUILLON_API SampleOutcome add_sample(const SampleRing& ring, double value, double time, double tolerance,
                                     int max_samples) noexcept;

/// A running median filter that owns its ring (the hosts' FilterData).
class QUILLON_API MedianFilter {
public:
    /// window: samples kept, clamped to 1..30; gate: largest age of a sample
    /// that may enter a median, in the unit of the times.
    explicit MedianFilter(int window = 20, double gate = 500.0) noexcept;
    /// Adds a sample and screens it; see add_sample().
    SampleOutcome add(double value, double time, double tolerance, int max_samples = 20) noexcept;
    /// Samples kept.
    int window() const noexcept { return window_; }
    /// Samples held so far, up to window().
    int count() const noexcept { return count_; }

private:
    double values_[kMaxFilterWindow] = {};
    double times_[kMaxFilterWindow] = {};
    int last_index_ = 0;
    int count_ = 0;
    int window_;
    double gate_;
};

/// Kinds of observation of the position estimator.
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
    double value = 0.0;                               ///< length unit, or degrees for bearings
    double sigma = 0.0;  ///< standard deviation; the weight is 1 / sigma^2; 0.0 leaves it out
    std::size_t station = 0;        ///< index of the station (slope_range, range_difference, bearing)
    std::size_t other_station = 0;  ///< index of the second station (range_difference)
};

/// The platform the sensor is mounted on.
struct Platform {
    double heading = 0.0;  ///< degrees clockwise from north
    double pitch = 0.0;    ///< degrees
    double roll = 0.0;     ///< degrees
    double offset[3] = {0.0, 0.0, 0.0};  ///< sensor offset from the reference point: right, forward, up
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
};

/// Estimates the reference point from the observations by iterated weighted
/// least squares (Gauss-Newton), as the hosts' estimator does: from start,
/// at most 10 iterations, until a correction of easting and northing below 1
/// unit (|de| + |dn|) has been applied. dims 2 solves easting and northing
/// with the height held at start; 3 solves all three. Errors:
/// invalid_argument for dims other than 2 or 3 or a station index outside
/// the stations; singular when the observations leave the position
/// undetermined (none usable, all sigmas 0, a direction not observed);
/// not_converged after 10 iterations; out_of_range when a correction
/// exceeds 100000 units (the estimate runs away); no_memory.
QUILLON_API Result<PositionSolution> solve_position(const Station* stations, std::size_t station_count,
                                                    const Observation* observations, std::size_t count,
                                                    const Platform& platform, const Position& start,
                                                    int dims) noexcept;
/// The residual of one observation (computed minus observed; bearings folded
/// into -180..180) for the reference point at `at`: the quantity the
/// estimator drives towards zero. NaN for a station index outside the
/// stations.
QUILLON_API double observation_residual(const Observation& observation, const Station* stations,
                                        std::size_t station_count, const Platform& platform,
                                        const Position& at) noexcept;

}  // namespace quillon

#endif
