import io
import json
import re
import subprocess

import numpy as np
import pytest
from conftest import NMEA_DIR

import quillon

LOGS = sorted(NMEA_DIR.rglob("*.nmea"))
KILOMETERS = quillon.Units(dist_units=3)


def snake(name):
    return re.sub(r"(?<=[a-z])([A-Z])", lambda m: "_" + m.group(1).lower(), name)


def tool_track(tool, settings, log):
    """The tool's fixes and summary of a log, keys in snake_case."""
    out = subprocess.run(
        [tool, "track", "--json", "--style", "dm", "--units", settings, log], capture_output=True, check=True
    ).stdout
    objects = [json.loads(line, object_pairs_hook=lambda pairs: {snake(k): v for k, v in pairs}) for line in out.splitlines()]
    return objects[:-1], objects[-1]


class Trickle(io.RawIOBase):
    """A binary file that hands out its bytes a few at a time, so that lines
    cross every kind of chunk boundary."""

    def __init__(self, data):
        self.data, self.at, self.sizes = data, 0, iter(np.random.default_rng(5).integers(1, 90, 10**7))

    def read(self, size=-1):
        piece = self.data[self.at : self.at + next(self.sizes)]
        self.at += len(piece)
        return piece


@pytest.mark.skipif(not LOGS, reason=f"no logs in {NMEA_DIR}")
def test_fixes_are_the_tools_fixes(tool, tmp_path):
    settings = tmp_path / "units.ini"
    KILOMETERS.save(settings)
    for log in LOGS:
        expected, summary = tool_track(tool, settings, log)
        track = quillon.read_track(Trickle(log.read_bytes()), style="dm", units=KILOMETERS)
        fixes = list(track)
        assert len(fixes) == len(expected), log
        for fix, json_fix in zip(fixes, expected):
            for key, value in json_fix.items():
                # The tool writes times as ISO 8601 text.
                if key in ("class", "time", "time_of_day"):
                    continue
                ours = getattr(fix, key)
                if isinstance(value, float):
                    decimals = 9 if key in ("lat", "lon") else 3
                    assert abs(ours - value) <= 0.5 * 10**-decimals + 1e-9 * abs(value), (log, key)
                else:
                    assert ours == value, (log, key)
            assert (fix.time is None) == (json_fix["unix_time"] is None)
        ours = track.summary
        for key in ("lines", "sentences", "decoded", "other_types", "bad_checksum", "no_checksum", "skipped",
                    "fixes", "cycles_without_fix", "rejected_heights", "types"):
            assert ours[key] == summary[key], (log, key)
        assert ours["distance"] == pytest.approx(summary["distance"], abs=5e-4)
        columns = quillon.read_track(log).arrays()
        assert np.array_equal(columns["lat"], [f.lat for f in fixes])
        for key in ("height", "ellipsoidal_height", "hdop"):
            expected = [np.nan if getattr(f, key) is None else getattr(f, key) for f in fixes]
            assert np.array_equal(columns[key], expected, equal_nan=True), key
        times = np.array([f.time.replace(tzinfo=None) if f.time else None for f in fixes], dtype="datetime64[us]")
        assert np.array_equal(columns["time"], times, equal_nan=True)


def test_messy_logs_are_counted_not_fatal(tool, tmp_path):
    rng = np.random.default_rng(9)
    good = b"$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47\r\n"
    log = tmp_path / "messy.nmea"
    log.write_bytes(rng.bytes(3000) + b"\n" + good + b"x" * (3 << 19) + b"\n" + good * 2 + rng.bytes(5000) + good[:-2])
    quillon.Units().save(tmp_path / "units.ini")
    expected, summary = tool_track(tool, tmp_path / "units.ini", log)
    track = quillon.read_track(str(log))
    fixes = list(track)
    assert len(fixes) == len(expected) >= 1 and track.summary["skipped"] == summary["skipped"]
    assert track.summary["skipped"]["overlong"] >= 1
    with pytest.raises(TypeError, match="binary mode"):
        list(quillon.read_track(io.StringIO(good.decode())))
    with pytest.raises(ValueError, match="not iterated"):
        iterated = quillon.read_track(log)
        next(iterated)
        iterated.arrays()
