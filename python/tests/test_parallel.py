import pickle
from concurrent.futures import ProcessPoolExecutor

import numpy as np
from conftest import peer

import quillon


def test_everything_public_pickles_with_its_state():
    for name in quillon.__all__:
        thing = getattr(quillon, name)
        assert pickle.loads(pickle.dumps(thing)) is thing, name
    units = quillon.Units(dist_units=4, default_entry=3)
    assert pickle.loads(pickle.dumps(units)) == units
    generator, heights = quillon.NormalGenerator(11), quillon.MedianFilter(window=7, gate=60.0)
    generator.normal(3)
    for t, h in enumerate([5.0, 5.1, 0.0, 4.9, 5.2, 9.0]):
        heights.add(h, t, 0.5)
    generator_copy, heights_copy = pickle.loads(pickle.dumps((generator, heights)))
    assert np.array_equal(generator_copy.normal(50), generator.normal(50))
    assert [heights_copy.add(h, 6 + t, 0.5) for t, h in enumerate([5.0, 7.0])] == [
        heights.add(h, 6 + t, 0.5) for t, h in enumerate([5.0, 7.0])
    ]
    assert (heights_copy.window, heights_copy.gate, heights_copy.count) == (7, 60.0, 7)


def test_conversions_in_a_process_pool_give_the_local_results():
    rng = np.random.default_rng(8)
    chunks = [rng.uniform(-6.4e6, 6.4e6, (3, 1000)) for _ in range(4)]
    with ProcessPoolExecutor(max_workers=2) as pool:
        remote = list(pool.map(quillon.ecef2geodetic, *zip(*chunks)))
    for chunk, result in zip(chunks, remote):
        assert np.array_equal(np.array(result), np.array(quillon.ecef2geodetic(*chunk)))


def test_dask_arrays_map_through_the_conversion():
    da = peer("dask.array", "python3-dask")
    x = da.from_array(np.linspace(6.3e6, 6.4e6, 10000), chunks=2500)
    lat, lon, h = (da.map_blocks(lambda *b, i=i: quillon.ecef2geodetic(*b)[i], x, 1e5, 2e5) for i in range(3))
    local = quillon.ecef2geodetic(np.linspace(6.3e6, 6.4e6, 10000), 1e5, 2e5)
    assert np.array_equal(h.compute(scheduler="processes"), local[2])
    assert np.array_equal(lat.compute(scheduler="threads"), local[0])
