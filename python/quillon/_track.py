"""Position fixes of NMEA 0183 logs."""

from __future__ import annotations

import collections
import os
from typing import IO, Any, Dict, Iterator, Optional, Union

import numpy as np

from . import _core
from ._core import Units
from ._types import Fix

_CHUNK = 1 << 20  # bytes read at a time: memory stays flat whatever the log's size

Source = Union[str, bytes, "os.PathLike[str]", IO[bytes]]


class Track:
    """The fixes of an NMEA 0183 log, decoded as they are read: iterate it
    for Fix tuples, or call arrays() for numpy columns of the whole log.
    summary tells what the decoder met. Made by read_track(); a context
    manager that closes a file it opened."""

    def __init__(self, source: Source, tolerance: float, style: str, decimals: Optional[int], units: Optional[Units]):
        self._feed = _core.TrackFeed(tolerance)
        self._texts = (style, (3 if style == "dms" else 5) if decimals is None else decimals, units or Units())
        self._feed.fixes(*self._texts)  # checks the style, decimals and units at once
        if isinstance(source, (str, bytes, os.PathLike)):
            self._file, self._owned = open(source, "rb"), True
        elif hasattr(source, "read"):
            self._file, self._owned = source, False
        else:
            raise TypeError(f"source must be a path or a binary file, not {type(source).__name__}")
        self._ready: collections.deque = collections.deque()
        self._iterated = False
        self._done = False

    def __iter__(self) -> Iterator[Fix]:
        return self

    def __next__(self) -> Fix:
        self._iterated = True
        while not self._ready:
            more = self._read()
            self._ready.extend(self._feed.fixes(*self._texts))
            if not more and not self._ready:
                raise StopIteration
        return self._ready.popleft()

    def arrays(self) -> Dict[str, np.ndarray]:
        """Reads the whole log and returns its fixes as numpy columns of one
        length: time (datetime64[us] in UTC, NaT where undated), unix_time,
        time_of_day, lat, lon, height, separation, ellipsoidal_height, step,
        filtered_height, hdop (float64, NaN where the fix has none), quality
        and satellites (int16, -1 where not given) and filter (int8: 2 med5, 1 med3, 0 raw, -1 no height). Raises
        ValueError once the track has been iterated."""
        if self._iterated:
            raise ValueError("arrays() takes a whole log: call it on a track not iterated")
        self._iterated = True
        parts = []
        while self._read():
            parts.append(self._feed.columns())
        parts.append(self._feed.columns())
        columns = {name: np.concatenate([p[name] for p in parts]) for name in parts[0]}
        seconds = columns["unix_time"]
        time = np.full(seconds.shape, np.datetime64("NaT", "us"))
        dated = ~np.isnan(seconds)
        time[dated] = np.round(seconds[dated] * 1e6).astype(np.int64).astype("datetime64[us]")
        return {"time": time, **columns}

    @property
    def summary(self) -> Dict[str, Any]:
        """What the decoder met and made so far (all of it once read): lines,
        sentences, decoded (by type: GGA, RMC, GLL, ZDA, GNS), other_types,
        proprietary, bad_checksum, no_checksum, skipped (total and by cause:
        no_sentence, malformed, truncated, bad_field, overlong, and
        first_line, the first line skipped), fixes, cycles_without_fix,
        heights, rejected_heights, distance (metres), first and last (the
        datetimes of the first and last fix, None undated), span (seconds
        between them) and types (sentences by type, in the order met)."""
        return self._feed.summary()

    def close(self) -> None:
        """Closes the file if the track opened it."""
        if self._owned:
            self._file.close()

    def __enter__(self) -> "Track":
        return self

    def __exit__(self, *exc: Any) -> None:
        self.close()

    def _read(self) -> bool:
        """Feeds the next chunk; False at the end of the log (then finished)."""
        if self._done:
            return False
        chunk = self._file.read(_CHUNK)
        if chunk:
            self._feed.feed(chunk)
            return True
        self._done = True
        self._feed.finish()
        self.close()
        return False


def read_track(
    source: Source,
    tolerance: float = 10.0,
    style: str = "dms",
    decimals: Optional[int] = None,
    units: Optional[Units] = None,
) -> Track:
    """The position fixes of an NMEA 0183 log, as `quillon track` decodes it.

    Each sentence's checksum is verified; the GGA, RMC and GLL sentences of
    one report cycle (the same time of day) make one fix, dated by RMC or
    ZDA; the heights are screened by a median filter of 20 heights over
    500 s with the band `tolerance` (metres) around the median. Real logs
    are messy: every defect is counted in summary, none stops the decoding.

    source: a path, or a file opened in binary mode ('rb').
    style, decimals: how the latitude and longitude texts are written
    ('dms' or 'dm'; decimals 0..6, by default 3 for 'dms' and 5 for 'dm').
    units: a Units whose distance unit writes height_text and step_text
    (None: metres).

    Returns a Track: iterate it for Fix tuples (fix._asdict() for a dict),
    or call its arrays() for numpy columns of the whole log; the log is read
    a megabyte at a time as it goes. Raises OSError for a file that cannot
    be opened or read, ValueError for a tolerance that is not a positive
    number, a style or decimals out of range.
    """
    return Track(source, tolerance, style, decimals, units)
