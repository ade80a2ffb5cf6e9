import ctypes

import numpy as np
import pytest
from conftest import peer

import quillon

B = 6356752.314245179  # semi-minor axis, metres


def random_points(n=2000):
    """Geodetic points all over the earth, the poles among them, and
    geocentric points on and beside the polar axis."""
    rng = np.random.default_rng(15)
    lat, lon, h = rng.uniform(-90, 90, n), rng.uniform(-180, 180, n), rng.uniform(-1e4, 1e5, n)
    lat[:4], lon[:4] = [90, -90, 89.9999999, -90], [0, 45, 10, -180]
    x, y, z = quillon.geodetic2ecef(lat, lon, h)
    axis_x, axis_y, axis_z = [0.0, 0.0, 0.0], [0.0, 0.0, 0.0], [B + 5, -B, 1000.0]
    return (lat, lon, h), (np.append(x, axis_x), np.append(y, axis_y), np.append(z, axis_z))


@pytest.mark.parametrize("peer_name", ["pymap3d", "pyproj"])
def test_conversions_agree_with_peers(peer_name):
    (lat, lon, h), (x, y, z) = random_points()
    if peer_name == "pymap3d":
        pm = peer("pymap3d", "python3-pymap3d")
        forward = pm.geodetic2ecef
        with np.errstate(divide="ignore", invalid="ignore"):
            inverse = pm.ecef2geodetic(x, y, z)
        tolerance = (1e-9, 1e-6)  # degrees, metres
    else:
        Transformer = peer("pyproj", "python3-pyproj").Transformer
        forward = Transformer.from_crs("EPSG:4979", "EPSG:4978").transform
        inverse = Transformer.from_crs("EPSG:4978", "EPSG:4979").transform(x, y, z)
        tolerance = (1e-8, 1e-3)  # PROJ's own inverse is the looser one
    np.testing.assert_allclose(quillon.geodetic2ecef(lat, lon, h), forward(lat, lon, h), rtol=0, atol=1e-8)
    ours = quillon.ecef2geodetic(x, y, z)
    np.testing.assert_allclose(ours[0], inverse[0], rtol=0, atol=tolerance[0])
    np.testing.assert_allclose((ours[1] - inverse[1] + 180) % 360 - 180, 0, atol=tolerance[0])
    np.testing.assert_allclose(ours[2], inverse[2], rtol=0, atol=tolerance[1])


def test_arrays_give_the_c_api_point_by_point(flat):
    (lat, lon, h), (x, y, z) = random_points(40)
    x, y, z = (np.append(v, extra) for v, extra in zip((x, y, z), ([np.nan, np.inf, 0.0], [1.0, 0.0, 0.0], [2.0, np.inf, -0.0])))
    geodetic = quillon.ecef2geodetic(x, y, z, deg=False)
    geocentric = quillon.geodetic2ecef(np.radians(lat), np.radians(lon), h, deg=False)
    for i in range(len(x)):
        c = [ctypes.c_double(v) for v in (0.0, 0.0, 0.0, x[i], y[i], z[i])]
        flat.conv(*map(ctypes.byref, c), 1)
        assert np.array_equal([v.value for v in c[:3]], [g[i] for g in geodetic], equal_nan=True), (x[i], y[i], z[i])
    for i in range(len(lat)):
        c = [ctypes.c_double(v) for v in (np.radians(lat[i]), np.radians(lon[i]), h[i], 0.0, 0.0, 0.0)]
        flat.conv(*map(ctypes.byref, c), 2)
        assert [v.value for v in c[3:]] == [g[i] for g in geocentric]
    # Degrees are numpy's degrees of the radians, bit for bit.
    in_degrees = quillon.ecef2geodetic(x, y, z)
    assert np.array_equal(in_degrees[0], np.degrees(geodetic[0]), equal_nan=True)


@pytest.mark.parametrize(
    "shapes, result_shape",
    [
        (((), (), ()), None),
        (((3, 1), (4,), ()), (3, 4)),
        (((2, 0), (), ()), (2, 0)),
        (((5,), (5,), (1,)), (5,)),
        (((3,), (4,), ()), ValueError),
    ],
)
def test_shapes_broadcast_as_numpy_does(shapes, result_shape):
    rng = np.random.default_rng(1)
    args = [rng.uniform(-80, 80, s) if s else 10.0 * (i + 1) for i, s in enumerate(shapes)]
    if result_shape is ValueError:
        with pytest.raises(ValueError, match="broadcast"):
            quillon.geodetic2ecef(*args)
        return
    out = quillon.geodetic2ecef(*args)
    if result_shape is None:
        assert all(type(v) is float for v in out)
        return
    assert all(v.shape == result_shape for v in out)
    for index in np.ndindex(result_shape):
        point = [np.broadcast_to(a, result_shape)[index] for a in args]
        assert [v[index] for v in out] == list(quillon.geodetic2ecef(*point))
