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


def gps_to_datetime(week: float, seconds: float = 0.0) -> datetime:
    """The UTC datetime of a GPS week and seconds of week.

    GPS time is taken equal to UTC at the GPS epoch, 1980-01-06 00:00:00,
    and no leap seconds are applied: the result is GPS time written as a
    date, ahead of UTC by the leap seconds since 1980 (18 s from 2017 on;
    subtract them where UTC itself matters). week and seconds may be
    fractional or negative; they are combined through a day count, so
    present-day times carry up to about 0.0001 s of rounding (whole weeks
    are exact), and the datetime is rounded to the microsecond:
    gps_to_datetime(2000) is 2018-05-06 00:00:00+00:00.

    Raises ValueError for NaN or infinite values or a time outside the
    years 1..9999.
    """
    return _datetime(_core.unix_time_of_gps(week, seconds))


def datetime_to_gps(time: datetime) -> GpsTime:
    """The GPS week and seconds of week of an aware datetime (any time zone).

    The inverse of gps_to_datetime(), without leap seconds:
    datetime(2018, 5, 6, tzinfo=timezone.utc) -> GpsTime(week=2000,
    seconds=0.0); weeks before 1980-01-06 are negative. The seconds are
    exact for the time given. Raises ValueError for a naive datetime and
    TypeError for anything but a datetime.
    """
    return GpsTime(*_core.gps_time_of(_unix_time(time)))


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
    """Reads month-first date-time text as an aware UTC datetime.

    Month, day, year, then optional hour, minute and second, separated by
    anything that is not a digit: '07-15-21 13:12:42.0', '7/15/2021
    13:12:42', '7 15 21'. Two-digit years 50..99 are 1950..1999 and 00..49
    2000..2049; the year must lie in 1900..2100. Hours and minutes wrap (25
    is 1), the seconds are taken modulo 60, a day past the month's end
    carries into the next. The datetime is rounded to the microsecond.

    Raises ValueError for a missing field ("no day") or one outside its
    range ("month 13 is not 1..12").
    """
    return _datetime(_core.parse_time(text))
