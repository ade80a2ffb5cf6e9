#!/usr/bin/env python3
"""Runs `quillon track` and gpsd's `gpsdecode` on the same large logs and
records, for each run, the CPU and wall time and the peak resident memory of
the child alone (measured by run_measured). Writes the results as JSON.

Usage: track_compare.py --quillon BIN --runner RUN_MEASURED --out FILE LOG [LOG ...]
The logs are given smallest first; the largest is the one the table shows,
the others show whether memory stays flat as the log grows."""

import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile

RUNS = 2  # the best of these is kept, to damp other load on the machine


def count_lines(path):
    count = 0
    with open(path, "rb") as log:
        while True:
            block = log.read(1 << 20)
            if not block:
                return count
            count += block.count(b"\n")


def run_once(runner, command, stdin_path):
    arguments = [runner] + (["--stdin", stdin_path] if stdin_path else []) + command
    done = subprocess.run(arguments, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True)
    run = json.loads(done.stdout)
    if run["exit_code"] != 0:
        error = done.stderr.decode(errors="replace").strip()
        run["error"] = error.splitlines()[-1] if error else "exit code %d" % run["exit_code"]
    return run


def measure(runner, command, stdin_path=None):
    """The run of least CPU time of RUNS runs, with the largest peak memory
    seen in any of them."""
    runs = []
    for _ in range(RUNS):
        run = run_once(runner, command, stdin_path)
        if "error" in run:
            return run
        runs.append(run)
    best = min(runs, key=lambda r: r["cpu_seconds"])
    best["peak_kib"] = max(r["peak_kib"] for r in runs)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--quillon", required=True)
    parser.add_argument("--runner", required=True, help="the built quillon_run_measured")
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
                    measure(args.runner, [args.quillon, "track", "--units", settings, log]))
            else:
                results["quillon"].append({"error": "not built: " + args.quillon})
            results["gpsdecode"].append(measure(args.runner, [args.gpsdecode], stdin_path=log))
            print("track_compare: %s done" % log, file=sys.stderr)
    finally:
        shutil.rmtree(settings_dir, ignore_errors=True)

    with open(args.out, "w") as out:
        json.dump(results, out, indent=1)


if __name__ == "__main__":
    main()
