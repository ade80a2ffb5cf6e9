"""GPS time, Julian day numbers and the library's date-time text."""

from __future__ import annotations

from datetime import datetime, timedelta, timezone
from typing import Union

from . import _core
from ._types import CivilDate, GpsTime
from ._typing import Text

_EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)
_SECOND = timedelta(seconds=1)


def _unix_time(time: datetime) -> float:
    """Seconds since 1970 of an aware datetime, to the microsecond."""
    if not isinstance(time, datetime):
        raise TypeError(f"time must be a datetime, not {type(time).__name__}")
    if time.utcoffset() is None:
        raise ValueError(f"{time} has no time zone: give tzinfo=datetime.timezone.utc")
    return (time - _EPOCH) / _SECOND


def _datetime(unix_time: float) -> datetime:
    """The aware UTC datetime of seconds since 1970, rounded to the microsecond."""
    try:
        return _EPOCH + timedelta(seconds=unix_time)
    except OverflowError:
        raise ValueError(f"{unix_time} s since 1970 lies outside the years 1..9999") from None


def gps_to_datetime(week: int, seconds: float = 0.0) -> datetime:
    """The UTC datetime of a GPS week and seconds of week.

    GPS time runs ahead of UTC by the leap seconds since its epoch,
    1980-01-06 (18 s from 2017 on); they are taken off:
    gps_to_datetime(2166, 393162) is 2021-07-15 13:12:24 UTC, 13:12:42 on
    the GPS clock. The result is exact to the microsecond it is rounded
    to. A GPS time inside
    an inserted leap second (23:59:60 UTC) gives 23:59:59 again, as Unix
    clocks repeat it. Leap seconds are known up to 2026-06-28; later times
    keep the last offset, which a leap second announced since would make
    wrong.

    Raises ValueError for a week that is not a whole number from 0, seconds
    outside 0 up to 604800, or a time beyond the year 9999.
    """
    return _datetime(_core.utc_of_gps(week, seconds))


def datetime_to_gps(time: datetime) -> GpsTime:
    """The GPS week and seconds of week of an aware datetime (any time zone).

    The inverse of gps_to_datetime(), the leap seconds added:
    datetime(2021, 7, 15, 13, 12, 24, tzinfo=timezone.utc) ->
    GpsTime(week=2166, seconds=393162.0). Weeks before 1980-01-06 are
    negative (no leap seconds are counted there). Raises ValueError for a
    naive datetime and TypeError for anything but a datetime.
    """
    return GpsTime(*_core.gps_of_utc(_unix_time(time)))


def julian_day_number(year: int, month: int, day: int) -> int:
    """The Julian day number of a civil date: (1970, 1, 1) -> 2440588.

    Dates before 1582-10-15 are in the Julian calendar (so, unlike
    datetime.date, 1582-10-04 is the day before 1582-10-15), later ones in
    the Gregorian. A day past the month's end carries into the next month
    ((2021, 2, 30) is March 2). Raises ValueError for a year outside
    1..9999, a month outside 1..12 or a day outside 1..31.
    """
    return _core.julian_day_number(year, month, day)


def civil_date(number: int) -> CivilDate:
    """The civil date of a Julian day number, the inverse of
    julian_day_number(): 2451604 -> CivilDate(year=2000, month=2, day=29).

    Raises ValueError outside the days of the years 1 to 9999
    (1721424..5373484).
    """
    return _core.civil_date(number)


def format_time(time: Union[datetime, float]) -> str:
    """The library's month-first date-time text of a time: '07-15-21 13:12:42.0'.

    time: an aware datetime, or seconds since 1970-01-01 00:00:00 UTC. The
    fields are month, day, the year modulo 100, hour and minute as two
    digits each and the seconds truncated to tenths (59.99 s is '59.9').
    Raises ValueError for a naive datetime and for times up to the first
    instant of 1970, NaN or infinite, which the text does not serve.
    """
    if isinstance(time, datetime):
        time = _unix_time(time)
    return _core.format_time(time)


def parse_time(text: Text) -> datetime:
    """Reads month-first date-time text leniently, as the hosts read it, as
    an aware UTC datetime.

    Month, day, year, then optional hour, minute and second, separated by
    anything that is not a digit: '07-15-21 13:12:42.0', '7/15/2021
    13:12:42', 'Date 7 15 21, 13h12m42s'. Two-digit years 50..99 are
    1950..1999 and 00..49 2000..2049; the year must lie in 1900..2100. Hours
    and minutes wrap (25 is 1), the seconds are taken modulo 60, a day past
    the month's end carries into the next; nothing after the seconds is
    looked at. read_time() is the strict reader.

    Raises ValueError for a missing field ("no day") or one outside its
    range ("month 13 is not 1..12").
    """
    return _datetime(_core.parse_time(text))


def read_time(text: Text) -> datetime:
    """Reads a whole month-first date-time text and nothing else, as an aware
    UTC datetime.

    Month, day and year separated by '-' or '/' (the same twice), then
    optionally the time hh:mm or hh:mm:ss with decimals of the second:
    '07-15-21 13:12:42.0', '7/15/2021 13:12'. Two-digit years as in
    parse_time(), four-digit ones in 1900..2100; every field must lie in its
    range.

    Raises ValueError naming what could not be read ("cannot read 'PM' in
    '07-15-21 1:12 PM'") or the field out of range ("hour 25 is not 0..23",
    "day 30 is not 1..28 in February 2021").
    """
    return _datetime(_core.read_time(text))


def read_iso_time(text: Text) -> datetime:
    """Reads a whole ISO 8601 date-time as an aware UTC datetime.

    '2021-07-15T13:12:42Z', '2021-07-15 13:12:42', '2021-07-15T15:12:42.5+02:00'
    or a date alone ('2021-07-15', its midnight). An offset is subtracted; a
    time without a zone is taken as UTC. Years lie in 1583..9999.

    Raises ValueError naming what could not be read or the field out of range.
    """
    return _datetime(_core.read_iso_time(text))
