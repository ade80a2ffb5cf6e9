"""Quillon: survey, geodetic and numeric utilities at C++ speed.

Geocentric conversion over numpy arrays (geodetic2ecef, ecef2geodetic),
angles and lengths as text (format_lat, format_lon, format_angle,
parse_angle, read_angle, read_latitude, read_longitude, parse_length, read_length, format_length, Units),
GPS time, Julian days and date-time text (gps_to_datetime,
datetime_to_gps, julian_day_number, civil_date, format_time, parse_time,
read_time, read_iso_time),
NMEA 0183 sentences and logs (checksum, checksum_ok, with_checksum,
split_fields, read_track),
robust statistics and estimation (median, lad_fit, MedianFilter,
solve_position), small matrices (inv) and seeded normal deviates
(NormalGenerator).

Errors raise ValueError (or OSError for files) with a message naming what
was wrong; nothing prints. Every function is free of hidden state and
every object pickles, so all of them run in multiprocessing,
concurrent.futures and Dask workers. Angles are decimal degrees, lengths
metres, times timezone-aware datetime objects in UTC.
"""

from ._core import MedianFilter, NormalGenerator, Units
from ._geodesy import ecef2geodetic, geodetic2ecef
from ._statistics import inv, lad_fit, median, solve_position
from ._text import (
    checksum,
    checksum_ok,
    format_angle,
    format_lat,
    format_length,
    format_lon,
    parse_angle,
    parse_length,
    read_angle,
    read_latitude,
    read_length,
    read_longitude,
    split_fields,
    with_checksum,
)
from ._time import (
    civil_date,
    datetime_to_gps,
    format_time,
    gps_to_datetime,
    julian_day_number,
    parse_time,
    read_iso_time,
    read_time,
)
from ._track import Track, read_track
from ._types import (
    CivilDate,
    Fix,
    GpsTime,
    Line,
    Observation,
    ParsedAngle,
    ParsedLength,
    Platform,
    PositionSolution,
    SampleOutcome,
)

__version__ = "5.0.20"

__all__ = [
    "CivilDate",
    "Fix",
    "GpsTime",
    "Line",
    "MedianFilter",
    "NormalGenerator",
    "Observation",
    "ParsedAngle",
    "ParsedLength",
    "Platform",
    "PositionSolution",
    "SampleOutcome",
    "Track",
    "Units",
    "checksum",
    "checksum_ok",
    "civil_date",
    "datetime_to_gps",
    "ecef2geodetic",
    "format_angle",
    "format_lat",
    "format_length",
    "format_lon",
    "format_time",
    "geodetic2ecef",
    "gps_to_datetime",
    "inv",
    "julian_day_number",
    "lad_fit",
    "median",
    "parse_angle",
    "parse_length",
    "parse_time",
    "read_angle",
    "read_iso_time",
    "read_latitude",
    "read_length",
    "read_longitude",
    "read_time",
    "read_track",
    "solve_position",
    "split_fields",
    "with_checksum",
]
