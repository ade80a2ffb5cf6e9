import pathlib
import re
from datetime import datetime, timezone

import numpy as np
import pytest

import quillon as q

NAN = float("nan")
LOG = pathlib.Path(__file__).resolve().parents[2] / "examples" / "nmea-rtk.nmea"

ERRORS = [
    (lambda: q.read_angle("45;30"), ValueError, "cannot read ';30' in '45;30'"),
    (lambda: q.read_length("5 mi"), ValueError, "cannot read 'mi' in '5 mi'"),
    (lambda: q.parse_length("1", "mi"), ValueError, "unit 'mi' is none of m, ft, usft, km, nm"),
    (lambda: q.format_lat(90.5), ValueError, "latitude 90.5 is outside -90..90"),
    (lambda: q.format_angle(1.0, 7), ValueError, "decimals must be 0..6, not 7"),
    (lambda: q.format_length(1.0, "m", 10), ValueError, "decimals must be 0..9, not 10"),
    (lambda: q.parse_time("13-01-21"), ValueError, "month 13 is not 1..12"),
    (lambda: q.read_time("02/30/21"), ValueError, "day 30 is not 1..28 in February 2021"),
    (lambda: q.read_iso_time("2021-07-15T25:00Z"), ValueError, "hour 25"),
    (lambda: q.read_latitude("45 E"), ValueError, "a latitude is north or south"),
    (lambda: q.read_longitude("181"), ValueError, "181"),
    (lambda: q.format_time(0.0), ValueError, "serves times after 1970-01-01 00:00:00 UTC"),
    (lambda: q.format_time(datetime(2020, 1, 1)), ValueError, "has no time zone"),
    (lambda: q.datetime_to_gps(1.0e9), TypeError, "time must be a datetime, not float"),
    (lambda: q.gps_to_datetime(2000.5), ValueError, "a GPS week is a whole number from 0, not 2000.5"),
    (lambda: q.gps_to_datetime(2000, -1), ValueError, "GPS seconds of week are at least 0 and below 604800, not -1"),
    (lambda: q.julian_day_number(0, 1, 1), ValueError, "year must be 1..9999, not 0"),
    (lambda: q.median([]), ValueError, "the median of no values"),
    (lambda: q.lad_fit([1, 1], [1, 2]), ValueError, "abscissae are all equal"),
    (lambda: q.lad_fit([1, 2], [1]), ValueError, "of one length, not of shapes (2,) and (1,)"),
    (lambda: q.lad_fit([1, 2], [1, 2], method="simplex"), ValueError, "method must be 'exact' or 'bisection'"),
    (lambda: q.inv([[1.0, 2.0]]), ValueError, "a must be a square matrix, or a stack of them, not of shape (1, 2)"),
    (lambda: q.inv([[1.0]], "qr"), ValueError, "method must be 'gauss_jordan', 'lu' or 'symmetric'"),
    (lambda: q.solve_position([[0, 0, 0]], [("slope_range", 1, 1, 5)]), ValueError, "names station 5"),
    (lambda: q.solve_position([[0, 0]], []), ValueError, "stations must be rows of (easting, northing, height)"),
    (lambda: q.split_fields("a", "x"), ValueError, "syntax must be 'comma_only', 'any_separator' or"),
    (lambda: q.MedianFilter(31), ValueError, "window must be 1..30, not 31"),
    (lambda: q.NormalGenerator(2**31 - 1), ValueError, "seed must be -2147428874..2147428874"),
    (lambda: q.Units(wp_units=5), ValueError, "wp_units must be 0..4, not 5"),
    (lambda: q.Units.load("a\0b"), ValueError, "the file name holds a zero character"),
    (lambda: q.read_track(LOG.with_name("missing.nmea")), FileNotFoundError, "missing.nmea"),
    (lambda: q.read_track(LOG, tolerance=0.0), ValueError, "tolerance must be a positive number of metres, not 0"),
    (lambda: q.read_track(3), TypeError, "source must be a path or a binary file, not int"),
    (lambda: q.checksum(5), TypeError, "text must be str or bytes, not int"),
    (lambda: q.geodetic2ecef("1", 0, 0), TypeError, "lat must be real numbers, not an array of <U1"),
    (lambda: q.parse_angle("\udcff"), UnicodeEncodeError, "surrogates not allowed"),
]


@pytest.mark.parametrize("call, kind, message", ERRORS, ids=[m for _, _, m in ERRORS])
def test_errors_say_what_was_wrong(call, kind, message):
    with pytest.raises(kind, match=re.escape(message)):
        call()


UTC = timezone.utc


def decoded(source, *options):
    """read_track() to the end of the log."""
    return list(q.read_track(source, *options))


STATIONS = [[0.0, 0.0, 0.0], [100.0, 0.0, 0.0]]
# Each public callable with valid arguments; every one in turn is replaced
# by each hostile value.
CALLS = [
    (q.geodetic2ecef, (1.0, 2.0, 3.0, True)),
    (q.ecef2geodetic, (6378137.0, 0.0, 0.0, False)),
    (q.format_angle, (1.0, 3, "dms")),
    (q.format_lat, (1.0, 3, "dm")),
    (q.format_lon, (1.0, 3, "dms")),
    (q.parse_angle, ("45 N",)),
    (q.read_angle, ("45 N",)),
    (q.read_latitude, ("45 N",)),
    (q.read_longitude, ("45 W",)),
    (q.parse_length, ("1 ft", "ft")),
    (q.read_length, ("1 ft", 2)),
    (q.format_length, (1.0, "km", 3)),
    (q.checksum, ("GPGGA",)),
    (q.checksum_ok, ("$A*41",)),
    (q.with_checksum, ("$A",)),
    (q.split_fields, ("$A,B", "any_separator")),
    (q.gps_to_datetime, (2000, 1.5)),
    (q.datetime_to_gps, (datetime(2020, 1, 1, tzinfo=UTC),)),
    (q.julian_day_number, (2020, 1, 1)),
    (q.civil_date, (2451604,)),
    (q.format_time, (1.0e9,)),
    (q.parse_time, ("07-15-21",)),
    (q.read_time, ("07-15-21 13:12",)),
    (q.read_iso_time, ("2021-07-15T13:12:42Z",)),
    (q.median, ([1.0, 2.0],)),
    (q.lad_fit, ([1.0, 2.0, 3.0], [1.0, 2.0, 4.0])),
    (q.solve_position, (STATIONS, [("slope_range", 50.0, 0.1, 0), ("easting", 50.0, 0.1)], None, (40.0, 10.0, 0.0), 2)),
    (q.inv, ([[2.0, 1.0], [1.0, 2.0]], "symmetric")),
    (q.Units, (1, 2, 1, 0, 0, 0, 0)),
    (q.Units.load, ("quillon.ini", False)),
    (q.Units().save, ("quillon.ini",)),
    (q.Units().format_distance, (1.0,)),
    (q.Units().parse_distance, ("1",)),
    (q.MedianFilter, (5, 10.0)),
    (q.MedianFilter().add, (1.0, 0.0, 1.0, 20)),
    (q.NormalGenerator, (3,)),
    (q.NormalGenerator().normal, ((2, 2),)),
    (decoded, (LOG, 5.0, "dm", 4, q.Units(3))),
]

HOSTILE = [
    None, True, -1, 2**64, NAN, float("inf"), -1e308, "", "abc", "\udcff", "\0", b"\xff\xfe$\x00*", bytearray(b"$,,"),
    [], [[1, 2], [3]], np.zeros((2, 3)), np.array(["a"]), np.array([NAN]), object(), 1j, datetime(2020, 1, 1),
]


@pytest.mark.parametrize("function, arguments", CALLS, ids=[f.__qualname__ for f, _ in CALLS])
def test_hostile_values_raise_or_pass_never_crash(function, arguments, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)  # where the settings files go
    function(*arguments)
    for position in range(len(arguments)):
        for value in HOSTILE:
            hostile = arguments[:position] + (value,) + arguments[position + 1 :]
            try:
                function(*hostile)
            except (TypeError, ValueError, OSError):
                pass
