/// @file
/// Median, robust straight-line fit, a running median filter and the station
/// record of the position estimator.
#ifndef QUILLON_ESTIMATION_H
#define QUILLON_ESTIMATION_H

#include <quillon/export.h>
#include <stdint.h>
#include <wchar.h>

/// Sorts values[0..count-1] ascending in place and writes their median (the
/// middle value, or the mean of the two middle ones). A count below 1 writes
/// NaN and leaves the array alone. NaN samples lose every comparison: the
/// array keeps its values but their order and the median are then arbitrary.
QUILLON_C QUILLON_API void centTend(double* values, int count, double* median);
/// Least-absolute-deviation line y = a + b x through n points; also the mean
/// absolute deviation. x and y are not changed. The slope is found by
/// bisection of the optimality sum from a bracket around the least-squares
/// slope, so it can settle short of the true optimum. Always writes all three:
/// - points exactly on a line: that line, deviation 0.0;
/// - abscissae all equal (spread below 1e-8), or n == 1: a = mean of x,
///   b = 0.0, deviation 0.0;
/// - n below 1: a = NaN, b = 0.0, deviation 0.0;
/// - a NaN or infinite sample, sums that overflow, abscissae too close for
///   their spread to be resolved, or a bracket not found within 1000 widening
///   steps: NaN for all three.
/// Uses one process-wide working record: fits must not run concurrently.
QUILLON_C QUILLON_API void centTendFit(double* x, double* y, int n, double* a, double* b, double* meanAbsDev);

/// Screens and smooths time-stamped samples against the median of recent
/// ones. A sample value of 0.0 stands for a missing reading. The window length
/// is clamped to 1..30 by the constructor and again by addData (the fields are
/// public), and addData brings lastIndex and count back into the ring, so no
/// call reads or writes outside it. A NaN sample is gathered but always
/// rejected; NaN neighbours make the median arbitrary.
class QUILLON_API FilterData {
public:
    double values[30];   ///< ring of sample values; slot i pairs with times[i]
    double times[30];    ///< ring of sample times, in the caller's unit
    int lastIndex;       ///< slot of the newest sample; 0 after construction
    int count;           ///< samples held, 0..size
    double output;       ///< median on acceptance, the raw sample otherwise
    int64_t auxOutput;   ///< always 0
    int status;          ///< 0 raw, 1 median of 3 or 4, 2 median of 5 or more
    int size;            ///< window length, 1..30
    double gate;         ///< largest age of a sample that may enter a median

    /// An empty filter: window length clamped to 1..30, every other field 0.
    FilterData(int size = 20, double gate = 500.0);
    /// Copies every field, both rings whole.
    FilterData(const FilterData&) = default;
    /// Copies every field, both rings whole.
    FilterData& operator=(const FilterData& other);
    /// Copies every field, both rings whole; the source is left unchanged.
    FilterData& operator=(FilterData&& other);
    /// 1 when the sample is accepted (output = median), 0 otherwise. Gathers
    /// at most 20 non-zero samples and at most maxSamples (counting from the
    /// newest, stopping at the first older than gate).
    int addData(double value, double time, double tolerance, int maxSamples);
};

/// One known station of the position estimator.
struct QUILLON_API CalcBaseStation {
    double x;           ///< easting
    double y;           ///< northing
    double z;           ///< height
    int tag;            ///< 0 on construction; the library never reads it
    wchar_t name[25];   ///< zero-terminated, at most 24 characters

    /// x, y, z and tag 0, an empty name (the rest of the buffer is not set).
    CalcBaseStation();
    /// Copies every field, the whole name buffer included.
    CalcBaseStation(const CalcBaseStation&) = default;
    /// Copies every field, the whole name buffer included.
    CalcBaseStation& operator=(const CalcBaseStation& other);
    /// Copies every field; the source is left unchanged.
    CalcBaseStation& operator=(CalcBaseStation&& other);
};

#endif
