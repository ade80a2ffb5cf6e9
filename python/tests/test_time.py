import ctypes
import json
import subprocess
from datetime import datetime, timedelta, timezone

import pytest

import quillon

EPOCH = datetime(1970, 1, 1, tzinfo=timezone.utc)


def at(seconds):
    return EPOCH + timedelta(seconds=seconds)


@pytest.mark.parametrize(
    "week, seconds",
    [(2166, 393162.0), (1930, 16.5), (1930, 17.5), (0, 0.0), (2047, 604799.25), (1000, 0.125)],
)
def test_gps_time_is_the_tools_utc(tool, tmp_path, week, seconds):
    quillon.Units().save(tmp_path / "units.ini")
    run = [tool, "time", "--json", "--units", tmp_path / "units.ini"]
    utc = json.loads(subprocess.run(run + ["--gps", str(week), str(seconds)], capture_output=True, check=True).stdout)
    time = quillon.gps_to_datetime(week, seconds)
    assert time == at(utc["unix"]) and time.tzinfo is timezone.utc
    back = json.loads(subprocess.run(run + ["--unix", repr(utc["unix"])], capture_output=True, check=True).stdout)
    assert quillon.datetime_to_gps(time) == (back["gpsWeek"], back["gpsSeconds"])


@pytest.mark.parametrize(
    "time",
    [
        1626354762.0,
        1626393599.99,  # tenths truncated, never rounded into the next day
        0.1,
        datetime(2021, 7, 15, 15, 12, 42, tzinfo=timezone(timedelta(hours=2))),
        datetime(2099, 12, 31, 23, 59, 59, 999999, tzinfo=timezone.utc),
    ],
)
def test_date_time_text_is_the_flat_text(flat, time):
    out = ctypes.create_unicode_buffer(32)
    flat.timeToStr(out, time if isinstance(time, float) else (time - EPOCH).total_seconds())
    assert quillon.format_time(time) == out.value


@pytest.mark.parametrize(
    "text", ["07-15-21 13:12:42.0", "7/15/2021 13:12:42", "Date 7 15 21, 13h12m42s", "2 30 99", "12 31 49 25:75:61.5"]
)
def test_date_time_text_reads_as_the_flat_reader_reads_it(flat, text):
    assert quillon.parse_time(text) == at(flat.strToTime(text))
    assert quillon.parse_time(text.encode()) == quillon.parse_time(text)


@pytest.mark.parametrize(
    "text", ["2021-07-15T13:12:42.5Z", "2021-07-15 13:12:42.5", "2021-07-15T15:12:42.5+02:00", "2021-07-15T11:12:42.5-0200"]
)
def test_iso_times_read_as_utc(text):
    assert quillon.read_iso_time(text) == datetime(2021, 7, 15, 13, 12, 42, 500000, tzinfo=timezone.utc)


@pytest.mark.parametrize("year, month, day", [(1970, 1, 1), (1582, 10, 4), (1582, 10, 15), (1, 1, 1), (9999, 12, 31), (2021, 2, 30)])
def test_julian_days_are_the_flat_julian_days(flat, year, month, day):
    number = quillon.julian_day_number(year, month, day)
    assert number == flat.julDate(month, day, year)
    if day <= 28:
        assert quillon.civil_date(number) == (year, month, day)
