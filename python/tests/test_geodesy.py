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
    # Degrees are numpy's degrees of the radians, bit for bit.
    assert np.array_equal(quillon.ecef2geodetic(*out)[0], np.degrees(quillon.ecef2geodetic(*out, deg=False)[0]))
    for index in np.ndindex(result_shape):
        point = [np.broadcast_to(a, result_shape)[index] for a in args]
        assert [v[index] for v in out] == list(quillon.geodetic2ecef(*point))
