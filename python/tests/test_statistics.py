import ctypes

import numpy as np
import pytest

import quillon
from quillon import Observation, Platform


def test_median_and_fit_leave_the_callers_data_alone():
    rng = np.random.default_rng(3)
    for values in (rng.normal(size=101), rng.normal(size=(10, 10)), [3, 1, 2, 10]):
        before = np.array(values, copy=True)
        assert quillon.median(values) == np.median(values)
        assert np.array_equal(values, before)
    x = np.arange(20.0)
    y = 2.0 + 0.5 * x
    y[[3, 11]] += [40.0, -25.0]  # wild points a least-squares line would follow
    for method in ("exact", "bisection"):
        line = quillon.lad_fit(x, y, method=method)
        assert line.a == pytest.approx(2.0, abs=0.05) and line.b == pytest.approx(0.5, abs=0.01)
    assert quillon.lad_fit(x, y) == (2.0, 0.5, 65.0 / 20)  # exactly through the 18 points on the line


def test_the_station_solver_takes_observations_in_every_form():
    stations = [[0.0, 0.0, 0.0], [100.0, 0.0, 0.0], [0.0, 100.0, 0.0]]
    truth = np.array([40.0, 30.0, 5.0])
    ranges = [np.linalg.norm(truth - s) for s in np.array(stations)]
    named = [Observation("slope_range", r, 0.01, i) for i, r in enumerate(ranges)] + [Observation("height", 5.0, 0.01)]
    plain = [(0, r, 0.01, i) for i, r in enumerate(ranges)] + [(7, 5.0, 0.01)]
    first = quillon.solve_position(stations, named, start=(45.0, 35.0, 0.0))
    again = quillon.solve_position(np.array(stations), plain, Platform(), start=first[:3])
    assert np.allclose(again[:3], truth, atol=1e-9) and np.allclose(again.residuals, 0, atol=1e-9)
    assert again.redundancy == 1 and again.sigma0 < 1e-6 and 0 < min(again.standard_deviation) < 0.1
    # The sensor sits 1 m up a platform: the reference point is 1 m below it.
    mounted = quillon.solve_position(stations, named, Platform(offset=(0, 0, 1.0)), start=first[:3])
    assert mounted.height == pytest.approx(4.0, abs=0.01)


@pytest.mark.parametrize("method", ["gauss_jordan", "lu", "symmetric"])
def test_inverses_agree_with_numpy(method):
    rng = np.random.default_rng(4)
    a = rng.normal(size=(3, 5, 5))
    a = a @ a.transpose(0, 2, 1) + 5 * np.eye(5)  # symmetric positive definite
    assert np.allclose(quillon.inv(a, method), np.linalg.inv(a), atol=1e-12)
    assert quillon.inv(a[0], method).shape == (5, 5) and quillon.inv(np.zeros((0, 0)), method).shape == (0, 0)
    a[2] = 0.0
    with pytest.raises(ValueError, match="^matrix 2 of the stack: .*singular"):
        quillon.inv(a, method)


def test_generators_give_the_flat_sequence_and_are_independent(flat):
    seed = ctypes.c_int(-7)
    expected = [flat.gasdev(ctypes.byref(seed)) for _ in range(9)]
    one, two = quillon.NormalGenerator(7), quillon.NormalGenerator(-7)
    assert [one.normal()] + list(one.normal((2, 4)).ravel()) == expected
    assert list(two.normal(9)) == expected


def test_units_round_trip_through_a_settings_file(tmp_path):
    path = tmp_path / "quillon.ini"
    units = quillon.Units(dist_units=3, wp_units=4, lat_lon_style=1, default_dist_calc=-2)
    units.save(path)
    assert quillon.Units.load(path) == units and quillon.Units.load(str(path).encode(), check=False) == units
    assert units.format_distance(1234.5678) == "1.23457km" and units.parse_distance("2").meters == 2000.0
    path.write_text("[units]\ndistUnits=ft\n")
    with pytest.raises(ValueError, match=r"quillon.ini:2: distUnits=ft is not a whole number"):
        quillon.Units.load(path)
    assert quillon.Units.load(path, check=False) == quillon.Units()
    with pytest.raises(OSError, match="no such file"):
        quillon.Units.load(tmp_path / "missing.ini")
    with pytest.raises(OSError, match="cannot write distUnits"):
        units.save(tmp_path / "no folder" / "x.ini")
