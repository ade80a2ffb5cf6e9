import pickle

import numpy as np

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


def test_workers_of_a_process_pool_convert_as_this_process_does():
    from concurrent.futures import ProcessPoolExecutor

    chunks = np.array_split(np.linspace(-6.4e6, 6.4e6, 4000).reshape(-1, 2), 4)
    with ProcessPoolExecutor(2) as pool:
        pooled = list(pool.map(quillon.ecef2geodetic, *zip(*((c[:, 0], c[:, 1], c[:, 0] / 3) for c in chunks))))
    for chunk, (lat, lon, h) in zip(chunks, pooled):
        here = quillon.ecef2geodetic(chunk[:, 0], chunk[:, 1], chunk[:, 0] / 3)
        assert all(np.array_equal(a, b) for a, b in zip(here, (lat, lon, h)))
