#!/usr/bin/env python3
"""Runs `quillon track` and gpsd's `gpsdecode` on the same large logs and
records, for each run, the CPU and wall time and the peak resident memory of
the child alone (os.wait4). Writes the results as JSON.

Usage: track_compare.py --quillon BIN --out FILE LOG [LOG ...]
The logs are given smallest first; the largest is the one the table shows,
the others show whether memory stays flat as the log grows."""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

RUNS = 2  # the best of these is kept, to damp other load on the machine


def count_lines(path):
    count = 0
    with open(path, "rb") as log:
        while True:
            block = log.read(1 << 20)
            if not block:
                return count
            count += block.count(b"\n")


def run_once(command, stdin_path):
    with open(os.devnull, "wb") as sink, \
            open(stdin_path or os.devnull, "rb") as stdin:
        start = time.monotonic()
        child = subprocess.Popen(command, stdin=stdin, stdout=sink, stderr=subprocess.PIPE)
        error = child.stderr.read().decode(errors="replace").strip()
        _, status, usage = os.wait4(child.pid, 0)
        wall = time.monotonic() - start
        child.stderr.close()
    run = {
        "cpu_seconds": usage.ru_utime + usage.ru_stime,
        "wall_seconds": wall,
        "peak_kib": usage.ru_maxrss,
        "exit_code": os.waitstatus_to_exitcode(status),
    }
    if run["exit_code"] != 0:
        run["error"] = error.splitlines()[-1] if error else "exit code %d" % run["exit_code"]
    return run


def measure(command, stdin_path=None):
    """The run of least CPU time of RUNS runs, with the largest peak memory
    seen in any of them."""
    runs = []
    for _ in range(RUNS):
        run = run_once(command, stdin_path)
        if "error" in run:
            return run
        runs.append(run)
    best = min(runs, key=lambda r: r["cpu_seconds"])
    best["peak_kib"] = max(r["peak_kib"] for r in runs)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillon", required=True)
    parser.add_argument("--gpsdecode", default=shutil.which("gpsdecode") or "gpsdecode")
    parser.add_argument("--out", required=True)
    parser.add_argument("logs", nargs="+")
    args = parser.parse_args()

    settings_dir = tempfile.mkdtemp(prefix="quillon-bench-")
    settings = os.path.join(settings_dir, "quillon.ini")
    with open(settings, "w") as ini:
        ini.write("[units]\n")  # every setting 0: meters, DMS

    results = {"logs": [], "quillon": [], "gpsdecode": []}
    try:
        for log in args.logs:
            results["logs"].append(
                {"path": log, "bytes": os.path.getsize(log), "sentences": count_lines(log)})
            if os.access(args.quillon, os.X_OK):
                results["quillon"].append(
                    measure([args.quillon, "track", "--units", settings, log]))
            else:
                results["quillon"].append({"error": "not built: " + args.quillon})
            results["gpsdecode"].append(measure([args.gpsdecode], stdin_path=log))
            print("track_compare: %s done" % log, file=sys.stderr)
    finally:
        shutil.rmtree(settings_dir, ignore_errors=True)

    with open(args.out, "w") as out:
        json.dump(results, out, indent=1)


if __name__ == "__main__":
    main()
