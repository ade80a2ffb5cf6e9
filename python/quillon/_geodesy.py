"""Geodetic and geocentric coordinates on WGS 84, over numpy arrays."""

from __future__ import annotations

from typing import Tuple

from . import _core
from ._typing import ArrayLike, Coordinates


def geodetic2ecef(lat: ArrayLike, lon: ArrayLike, h: ArrayLike, deg: bool = True) -> Tuple[Coordinates, Coordinates, Coordinates]:
    """Geodetic latitude, longitude and height on WGS 84 to earth-centred,
    earth-fixed x, y, z in metres.

    lat, lon: degrees (radians with deg=False); h: metres above the
    ellipsoid. Scalars or array-likes of real numbers, broadcast together as
    numpy broadcasts. Returns (x, y, z): floats for scalar input, otherwise
    arrays of the broadcast shape.

    Closed form, within 5e-8 m of GeographicLib for heights from -10 km to
    40,000 km. Degrees become radians as numpy.radians makes them; with
    deg=False each point is bit for bit the C++ API's to_geocentric(). NaN
    in gives NaN out. The loop runs without the GIL.

    Raises ValueError when the shapes do not broadcast, TypeError for
    anything but real numbers.
    """
    return _core.geodetic2ecef(lat, lon, h, deg)


def ecef2geodetic(x: ArrayLike, y: ArrayLike, z: ArrayLike, deg: bool = True) -> Tuple[Coordinates, Coordinates, Coordinates]:
    """Earth-centred, earth-fixed x, y, z in metres to geodetic latitude,
    longitude and height on WGS 84.

    x, y, z: scalars or array-likes of real numbers, broadcast together as
    numpy broadcasts. Returns (lat, lon, h): latitude and longitude in
    degrees (radians with deg=False), longitude in -180..180, height in
    metres above the ellipsoid; floats for scalar input, otherwise arrays of
    the broadcast shape.

    Latitude and longitude are within 1e-15 rad of GeographicLib, the height
    within 1e-6 m below 89 degrees of latitude; nearer the polar axis the
    height loses accuracy as about (N + h)**2 * 1e-16 / p, p the distance
    from the axis (4 mm at 1 m from it). On the axis the latitude is 90 for
    z >= 0 and -90 below. With deg=False each point is bit for bit the C++
    API's to_geodetic(); degrees are numpy.degrees of those radians. A point
    with a NaN coordinate (or infinite x or y with infinite z) gives NaN
    latitude and height. The loop runs without the GIL.

    Raises ValueError when the shapes do not broadcast, TypeError for
    anything but real numbers.
    """
    return _core.ecef2geodetic(x, y, z, deg)
