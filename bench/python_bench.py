#!/usr/bin/env python3
"""The Python module's conversions against pymap3d and pyproj's Transformer
on the same arrays of 10^6 points, in one run, written as Google Benchmark
JSON rows ("<row>@<implementation>") for report.py.

Run with the module importable (PYTHONPATH=<build>/python) under the Python
that has the peers (Debian's /usr/bin/python3):
    python_bench.py --out python.json [--points N] [--repetitions N]
A peer that is missing gives a row with its Debian package as the error."""

import argparse
import json
import sys
import time

import numpy as np

PEERS = {"pymap3d": "python3-pymap3d", "pyproj Transformer": "python3-pyproj"}


def implementations(quillon):
    """{implementation: (ecef2geodetic, geodetic2ecef) or the reason it is missing}."""
    found = {"quillon": (quillon.ecef2geodetic, quillon.geodetic2ecef)}
    try:
        import pymap3d

        found["pymap3d"] = (pymap3d.ecef2geodetic, pymap3d.geodetic2ecef)
    except ImportError:
        found["pymap3d"] = "not installed (apt-get install %s)" % PEERS["pymap3d"]
    try:
        from pyproj import Transformer

        inverse = Transformer.from_crs("EPSG:4978", "EPSG:4979")
        forward = Transformer.from_crs("EPSG:4979", "EPSG:4978")
        found["pyproj Transformer"] = (inverse.transform, forward.transform)
    except ImportError:
        found["pyproj Transformer"] = "not installed (apt-get install %s)" % PEERS["pyproj Transformer"]
    return found


def median_cpu_seconds(call, repetitions):
    times = []
    for _ in range(repetitions):
        start = time.process_time()
        call()
        times.append(time.process_time() - start)
    return float(np.median(times))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--points", type=int, default=10**6)
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    try:
        import quillon
    except ImportError as e:
        print("python_bench.py: no Python module (%s); its rows are left out" % e, file=sys.stderr)
        return

    rng = np.random.default_rng(2019)
    lat = rng.uniform(-90, 90, args.points)
    lon = rng.uniform(-180, 180, args.points)
    h = rng.uniform(-100, 10000, args.points)
    x, y, z = quillon.geodetic2ecef(lat, lon, h)
    exponent = len(str(args.points)) - 1
    size = "10^%d points" % exponent if args.points == 10**exponent else "%d points" % args.points
    rows = []
    for impl, functions in implementations(quillon).items():
        for index, (operation, arrays) in enumerate(
            [("ecef2geodetic", (x, y, z)), ("geodetic2ecef", (lat, lon, h))]
        ):
            name = "Python %s, %s@%s" % (operation, size, impl)
            row = {"name": name, "run_name": name, "run_type": "aggregate", "aggregate_name": "median",
                   "time_unit": "ms"}
            if isinstance(functions, str):
                row.update(error_occurred=True, error_message=functions)
            else:
                row["cpu_time"] = 1e3 * median_cpu_seconds(lambda: functions[index](*arrays), args.repetitions)
            rows.append(row)
    with open(args.out, "w") as f:
        json.dump({"context": {}, "benchmarks": rows}, f, indent=1)


if __name__ == "__main__":
    main()
