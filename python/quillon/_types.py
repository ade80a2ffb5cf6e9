"""The named tuples quillon's functions return and take."""

from datetime import datetime
from typing import NamedTuple, Optional, Tuple

import numpy as np


class ParsedAngle(NamedTuple):
    """What parse_angle() read: degrees, signed decimal degrees (0.0 when
    nothing could be read), and stop, the index of the first unread
    character (byte, for bytes)."""

    degrees: float
    stop: int


class ParsedLength(NamedTuple):
    """What parse_length() read: meters (0.0 when no number was read) and
    stop, the index of the first unread character (byte, for bytes)."""

    meters: float
    stop: int


class CivilDate(NamedTuple):
    """A date of the Julian (before 1582-10-15) or Gregorian calendar."""

    year: int
    month: int
    day: int


class GpsTime(NamedTuple):
    """A GPS time: week, whole weeks since 1980-01-06 00:00:00 (no roll-over,
    negative before it), and seconds into the week, 0 up to 604800."""

    week: int
    seconds: float


class Line(NamedTuple):
    """The line y = a + b x of lad_fit(): a the intercept in the unit of y, b
    the slope, mean_abs_dev the mean of |y - a - b x| over the points."""

    a: float
    b: float
    mean_abs_dev: float


class SampleOutcome(NamedTuple):
    """What MedianFilter.add() made of a sample: accepted (within the
    tolerance of the median of recent samples), output (that median when
    accepted, otherwise the sample) and status (0 not accepted, 1 median of
    3 or 4 samples, 2 median of 5 or more)."""

    accepted: bool
    output: float
    status: int


class Observation(NamedTuple):
    """One observation for solve_position().

    kind: 'slope_range', 'range_difference', 'northing', 'easting',
    'origin_range', 'origin_bearing', 'bearing' or 'height'; value in the
    length unit of the stations, or degrees clockwise from north for
    bearings; sigma its standard deviation (0 leaves it out); station the
    index of the station observed from (slope_range, range_difference,
    bearing) and other_station the second one (range_difference)."""

    kind: str
    value: float
    sigma: float
    station: int = 0
    other_station: int = 0


class Platform(NamedTuple):
    """The mounting of the sensor for solve_position(): heading (degrees
    clockwise from north), pitch (tilts the vertical offset forward), roll
    (tilts it to the right), both in degrees, and offset, the sensor's place
    from the reference point as (right, forward, up) in the length unit."""

    heading: float = 0.0
    pitch: float = 0.0
    roll: float = 0.0
    offset: Tuple[float, float, float] = (0.0, 0.0, 0.0)


class PositionSolution(NamedTuple):
    """The reference point solve_position() estimated; the Gauss-Newton
    iterations taken (1..10); the residuals, computed minus observed for
    each observation at the solution (bearings in -180..180 degrees); the
    standard deviations of easting, northing and height propagated from the
    sigmas (the height's NaN when it was held); sigma0, the a-posteriori
    standard deviation of unit weight (near 1 when the sigmas describe the
    observations; NaN without redundancy); and the redundancy, observations
    used minus unknowns solved."""

    easting: float
    northing: float
    height: float
    iterations: int
    residuals: np.ndarray
    standard_deviation: Tuple[float, float, float]
    sigma0: float
    redundancy: int


class Fix(NamedTuple):
    """One position fix of a log: the sentences of one report cycle joined,
    with the fields of `quillon track --json`.

    time: the aware UTC datetime when the log dated it (RMC or ZDA), else
    None; unix_time: the same in seconds since 1970. lat, lon: degrees,
    north and east positive; latitude, longitude:
    the same as text in the style and decimals asked for. height: metres
    above mean sea level (GGA or GNS), None without an altitude; height_text in
    the distance unit asked for. step: metres from the previous fix (None
    for the first), step_text likewise. quality, satellites: GGA fix
    quality and satellites in use, None when not given. filter: the height
    filter's verdict, 'med5' or 'med3' (accepted as the median of 5 or more,
    or 3 or 4 recent heights), 'raw' (not accepted) or '-' (no height);
    filtered_height: the median when accepted, otherwise the height.
    time_of_day: seconds after midnight UTC, for logs without dates too.
    separation: metres of the geoid above the WGS 84 ellipsoid (GGA or GNS),
    None when not given; ellipsoidal_height: height + separation, None
    without both; hdop: horizontal dilution of precision, None when not
    given."""

    time: Optional[datetime]
    unix_time: Optional[float]
    lat: float
    lon: float
    latitude: str
    longitude: str
    height: Optional[float]
    height_text: Optional[str]
    step: Optional[float]
    step_text: Optional[str]
    quality: Optional[int]
    satellites: Optional[int]
    filter: str
    filtered_height: Optional[float]
    time_of_day: Optional[float]
    separation: Optional[float] = None
    ellipsoidal_height: Optional[float] = None
    hdop: Optional[float] = None
