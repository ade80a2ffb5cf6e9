"""Robust statistics, the station solver and small matrices."""

from __future__ import annotations

from typing import Iterable, Optional, Sequence, Tuple, Union

import numpy as np

from . import _core
from ._types import Line, Observation, Platform, PositionSolution
from ._typing import ArrayLike


def median(values: ArrayLike) -> float:
    """The median of an array-like of real numbers (of any shape, taken as
    one flat set): the middle value, or the mean of the two middle ones.

    The caller's values are not changed. Raises ValueError for no values or
    a NaN among them.
    """
    return _core.median(values)


def lad_fit(x: ArrayLike, y: ArrayLike, method: str = "exact") -> Line:
    """A robust straight line y = a + b x through the points, by least
    absolute deviations: a few wild points pull it far less than they pull
    a least-squares line.

    method "exact" (the default) gives a line with the least sum of
    |y - a - b x| (when several share it, one through two of the points),
    by weighted-median descent. method "bisection" is the hosts' fit: the
    slope from bisection of the optimality sum, bracketed around the
    least-squares slope, to 0.01 of its standard error, the intercept the
    median of y - b x; on random sets with one outlier in five, about 3 fits
    in 100 end with a mean absolute deviation more than 1% above the least
    possible one, and on some small sets its bracket never closes.

    x, y: one-dimensional array-likes of one length. Returns Line(a, b,
    mean_abs_dev). Raises ValueError for too few points (2 for "exact", 1
    for "bisection"), abscissae all equal (no slope can be told), a NaN or
    infinite coordinate, an unknown method, or (bisection) no bracket of the
    optimum found.
    """
    return _core.lad_fit(x, y, method)


def solve_position(
    stations: ArrayLike,
    observations: Iterable[Union[Observation, Sequence]],
    platform: Optional[Platform] = None,
    start: Tuple[float, float, float] = (0.0, 0.0, 0.0),
    dims: int = 3,
) -> PositionSolution:
    """Estimates a reference point from observations of known stations.

    Iterated weighted least squares (Gauss-Newton) from start, at most 10
    iterations, until a correction of easting plus northing below 1 unit;
    where full precision matters, solve again from the result.

    stations: rows of (easting, northing, height), in one length unit.
    observations: Observation(kind, value, sigma, station=0,
        other_station=0) or plain tuples; kind is 'slope_range',
        'range_difference', 'northing', 'easting', 'origin_range',
        'origin_bearing', 'bearing' or 'height' (or its index 0..7); value
        in the length unit, or degrees clockwise from north for bearings;
        the weight is 1 / sigma**2 and a sigma of 0 leaves it out.
    platform: Platform(heading, pitch, roll, offset) of the sensor's
        mounting; None for a sensor on the reference point.
    start: the first estimate (easting, northing, height), within a few
        units of the answer for ranges and bearings.
    dims: 3 solves all three coordinates, 2 holds the height at start.

    Returns PositionSolution(easting, northing, height, iterations,
    residuals, standard_deviation, sigma0, redundancy): residuals an array
    of computed minus observed for each observation at the solution, the
    position's standard deviations propagated from the sigmas (multiply by
    sigma0 for those the residuals suggest). Raises ValueError when the observations
    leave the position undetermined, hold NaN, name a station that is not
    there, or the iteration runs away or does not settle.
    """
    return _core.solve_position(stations, observations, platform, start, dims)


def inv(a: ArrayLike, method: str = "gauss_jordan") -> np.ndarray:
    """The inverse of a square matrix, or of each matrix of a stack of shape
    (..., n, n), as a new array.

    Meant for small, reasonably conditioned matrices (normal matrices of a
    few unknowns); errors are about n times the condition number times
    1e-16 relative to the largest element, and each method gives the same
    bits on every run. method:

    - 'gauss_jordan': Gauss-Jordan elimination with full pivoting;
    - 'lu': Crout LU decomposition with row-scaled partial pivoting;
    - 'symmetric': U-D factors without pivoting, for symmetric positive
      definite matrices: only the upper triangle is read.

    Raises ValueError for a matrix that is not square, holds NaN or an
    infinite value, is singular (for 'symmetric': a pivot below 1e-11), or
    whose inverse overflows; for a stack, the message names the matrix.
    """
    return _core.inv(a, method)
