// Position of a reference point from observations of known stations made by
// a sensor mounted at an offset on a platform with heading, pitch and roll,
// by iterated weighted least squares (Gauss-Newton): quillon::solve_position
// and quillon::observation_residual on the hosts' station records and the
// flat observation records.
#ifndef QUILLON_ESTIMATION_SOLVE_BASE_POSITION_H
#define QUILLON_ESTIMATION_SOLVE_BASE_POSITION_H

#include "estimation/station_observation.h"
#include "quillon/estimation.h"

namespace quillon::estimation {

// y, x, z: the northing, easting and height, in: starting estimate, out:
// result. heading, pitch, roll in degrees, heading clockwise from north.
// offset: sensor offset in the platform frame (right, forward, up).
// stations: indexed by the station fields of the observations that use them
// (a non-zero sigma and a kind that names a station), which must lie inside
// it; a negative index fails. n: 2 solves easting and northing, holding
// the height; 3 solves all three.
//
// Returns 1 when a correction smaller than 1 (|dx| + |dy|) has been applied,
// and only then writes the result. Returns 0 and writes nothing when the
// normal matrix cannot be inverted (no usable observation, a direction left
// undetermined, non-finite partials), after ten iterations without
// convergence (non-finite values never converge), when a correction exceeds
// 100000.0 in magnitude (the estimate is running away; this is a failure,
// not a result), when n is neither 2 nor 3, or when storage for the
// converted records runs out.
int solveBasePosition(double* y, double* x, double* z, double heading, double pitch, double roll,
                      const StationObservation* observations, int count, const double* offset,
                      const CalcBaseStation* stations, int n);

// The residual of one observation (computed minus observed; bearings
// folded into -180..180) for the reference point at y, x, z, with the
// sensor and platform of solveBasePosition: the quantity the estimator
// drives towards zero.
double observationResidual(const StationObservation& observation, double y, double x, double z, double heading,
                           double pitch, double roll, const double* offset, const CalcBaseStation* stations);

}  // namespace quillon::estimation

#endif
