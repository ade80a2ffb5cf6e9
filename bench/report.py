#!/usr/bin/env python3
"""Writes docs/performance.md from one run of the benchmarks (Google
Benchmark JSON) and of the track comparison (track_compare.py JSON).

Every benchmark is named "<row>@<implementation>"; "quillon" is the library,
every other implementation a peer measured in the same run. One table row per
operation: our time per call, each peer's time per call, and the ratio
peer / ours (above 1: the library is faster).

Usage: report.py --bench BENCH.json [--bench MORE.json] [--track TRACK.json] [--notes NOTES.md] --out OUT.md"""

import argparse
import json
import os
import sys

QUILLON = "quillon"

# (row prefix, peer prefix or None, kind, threshold, wording)
#   ratio:    peer time / our time must be at least threshold
#   absolute: our time per call must be below threshold nanoseconds
TARGETS = [
    ("latToStr", "swprintf", "ratio", 8.0, "≥ 8× the swprintf of the same template, same text"),
    ("lonToStr", "swprintf", "ratio", 8.0, "≥ 8× the swprintf of the same template, same text"),
    ("angToStr", "swprintf", "ratio", 8.0, "≥ 8× the swprintf of the same template, same text"),
    ("distToStr", "swprintf", "ratio", 8.0, "≥ 8× the swprintf of the same template, same text"),
    ("timeToStr", "swprintf", "ratio", 8.0, "≥ 8× the swprintf of the same template, same text"),
    ("conv, geodetic to geocentric", "GeographicLib", "ratio", 2.0, "≥ 2× GeographicLib"),
    ("conv", "GeographicLib", "ratio", 1.0, "no slower than GeographicLib"),
    ("geocentric to geodetic, 10^6", "GeographicLib", "ratio", 3.0, "≥ 3× GeographicLib's Reverse per point"),
    ("breakFields", "plain character loop", "ratio", 1.0, "no slower than a plain character-loop split"),
    ("gaussj", "Eigen MatrixXd", "ratio", 1.0, "no slower than Eigen"),
    ("dInvert", "Eigen MatrixXd", "ratio", 1.0, "no slower than Eigen"),
    ("lad_fit (exact), 100000", None, "absolute", 1e8, "under 0.1 s"),
    ("checkCheckSum", "plain byte loop", "ratio", 0.5, "within 2× the plain byte loop"),
    ("FilterData::addData", None, "absolute", 100.0, "under 100 ns per sample"),
    ("Python ecef2geodetic", "", "ratio", 1.0, "no slower than pymap3d and pyproj's Transformer"),
]
# Rows whose library and naive implementations share a split (the same
# exported function, measured in its own row): the text alone is the time
# net of that row, and the report gives that ratio beside the whole one.
SHARED_SPLIT = [
    ("timeToStr", "dosToYearMonthDay"),
]
TRACK_RATIO = 3.0
# Peak memory counts as flat when the largest log needs at most this much
# more than the smallest (10 %, and never less than 1 MiB of slack).
FLAT_FRACTION = 0.10
FLAT_SLACK_KIB = 1024

MIB = 1024.0 * 1024.0
NS_PER_UNIT = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}


def load_benchmarks(path):
    """{row: {impl: ns or error text}} in registration order, and the context.
    Prefers the median of repetitions; a single run stands for itself."""
    with open(path) as f:
        data = json.load(f)
    medians, singles = {}, {}
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        if b.get("error_occurred"):
            singles[name] = b.get("error_message", "error")
            continue
        ns = b["cpu_time"] * NS_PER_UNIT[b.get("time_unit", "ns")]
        if b.get("run_type") == "aggregate":
            if b.get("aggregate_name") == "median":
                medians[name] = ns
        else:
            singles.setdefault(name, ns)
    rows = {}
    for b in data["benchmarks"]:
        name = b.get("run_name", b["name"])
        row, _, impl = name.partition("@")
        value = medians.get(name, singles.get(name))
        rows.setdefault(row, {})[impl] = value
    return rows, data.get("context", {})


def show_time(ns):
    if ns < 1e3:
        return "%.3g ns" % ns
    if ns < 1e6:
        return "%.3g µs" % (ns / 1e3)
    if ns < 1e9:
        return "%.3g ms" % (ns / 1e6)
    return "%.3g s" % (ns / 1e9)


def show_ratio(r):
    return ("%.2f×" if r < 10 else "%.0f×") % r


def target_of(row):
    for prefix, peer, kind, threshold, wording in TARGETS:
        if row.startswith(prefix):
            return peer, kind, threshold, wording
    return None


def split_row_of(row, rows):
    for prefix, split in SHARED_SPLIT:
        if row.startswith(prefix):
            for name in rows:
                if name.startswith(split) and isinstance(rows[name].get(QUILLON), float):
                    return name
    return None


def judge(row, impls, rows):
    """Target text of a row, with met / missed, or '' when it has none."""
    target = target_of(row)
    ours = impls.get(QUILLON)
    if target is None:
        return ""
    peer, kind, threshold, wording = target
    if not isinstance(ours, float):
        return wording + ": not measured"
    if kind == "absolute":
        return "%s: %s" % (wording, "met" if ours < threshold else "**missed**")
    times = [t for name, t in impls.items()
             if name != QUILLON and name.startswith(peer) and isinstance(t, float)]
    if not times:
        return wording + ": not measured"
    ratio = min(times) / ours
    verdict = "%s: %s" % (wording, "met" if ratio >= threshold else "**missed**")
    split = split_row_of(row, rows)
    if split is not None:
        shared = rows[split][QUILLON]
        if ours > shared:
            verdict += " (text alone, net of the shared %s: %s)" % (
                split.split(",")[0], show_ratio((min(times) - shared) / (ours - shared)))
    return verdict


def bench_table_rows(rows):
    lines = []
    for row, impls in rows.items():
        ours = impls.get(QUILLON)
        peers = [(name, t) for name, t in impls.items() if name != QUILLON]
        if not isinstance(ours, float):
            ours_text = "error: %s" % (ours or "not run")
        else:
            ours_text = show_time(ours)
        names, times, ratios = [], [], []
        for name, t in peers:
            names.append(name)
            if isinstance(t, float):
                times.append(show_time(t))
                ratios.append(show_ratio(t / ours) if isinstance(ours, float) else "")
            else:
                times.append("error: %s" % (t or "not run"))
                ratios.append("")
        lines.append("| %s | %s | %s | %s | %s | %s |" % (
            row, ours_text, "<br>".join(names) or "—", "<br>".join(times) or "—",
            "<br>".join(ratios) or "—", judge(row, impls, rows)))
    return lines


def mib(kib):
    return "%.1f MiB" % (kib / 1024.0)


def track_table_row(track):
    logs = track["logs"]
    big = logs[-1]
    ours, peer = track["quillon"][-1], track["gpsdecode"][-1]
    title = "`quillon track`, %.0f MiB log (%d sentences)" % (big["bytes"] / MIB, big["sentences"])

    def cell(runs, run):
        if "error" in run:
            return "error: %s" % run["error"], None
        rate = big["sentences"] / run["cpu_seconds"]
        peaks = ", ".join("%s on %.0f MiB" % (mib(r["peak_kib"]), l["bytes"] / MIB)
                          for r, l in zip(runs, logs) if "peak_kib" in r)
        text = "%s per sentence<br>%.3g M sentences/s<br>peak %s" % (
            show_time(1e9 / rate), rate / 1e6, peaks)
        return text, rate

    ours_text, ours_rate = cell(track["quillon"], ours)
    peer_text, peer_rate = cell(track["gpsdecode"], peer)
    ratio = show_ratio(ours_rate / peer_rate) if ours_rate and peer_rate else ""
    wording = "≥ %g× the sentences/s of gpsdecode, flat memory" % TRACK_RATIO
    if ours_rate is None or peer_rate is None:
        verdict = wording + ": not measured"
    else:
        peaks = [r["peak_kib"] for r in track["quillon"] if "peak_kib" in r]
        flat = max(peaks) - min(peaks) <= max(FLAT_SLACK_KIB, FLAT_FRACTION * min(peaks))
        met = ours_rate / peer_rate >= TRACK_RATIO and flat
        verdict = "%s: %s" % (wording, "met" if met else "**missed**")
    return "| %s | %s | gpsdecode (gpsd-clients) | %s | %s | %s |" % (
        title, ours_text, peer_text, ratio, verdict)


def context_lines(context):
    lines = []
    keys = [("date", "date"), ("num_cpus", "CPUs"), ("mhz_per_cpu", "MHz per CPU"),
            ("compiler", "compiler"), ("build_type", "build type"),
            ("library_build_type", "Google Benchmark library build")]
    for key, label in keys:
        if key in context:
            lines.append("- %s: %s" % (label, context[key]))
    if "load_avg" in context:
        lines.append("- load average during the run: %s" %
                     ", ".join("%.2f" % x for x in context["load_avg"]))
    return lines


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--bench", required=True, action="append")
    parser.add_argument("--track")
    parser.add_argument("--notes")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    rows, context = {}, {}
    for path in args.bench:
        more, more_context = load_benchmarks(path)
        rows.update(more)
        context = context or more_context
    out = [
        "# Performance",
        "",
        "Generated by `make bench` (bench/report.py); do not edit by hand.",
        "Every operation is measured side by side with the peers a user would otherwise pick,",
        "in the same run of the same program. Times are CPU time per call, the median of",
        "the repetitions; the ratio is the peer's time divided by the library's, so above 1×",
        "the library is faster.",
        "",
        "| Operation | Quillon | Peer | Peer time | Peer ÷ Quillon | Target |",
        "|---|---|---|---|---|---|",
    ]
    out += bench_table_rows(rows)
    if args.track and os.path.exists(args.track):
        with open(args.track) as f:
            out.append(track_table_row(json.load(f)))
    out += ["", "## The run", ""] + context_lines(context)
    if args.notes:
        with open(args.notes) as f:
            out += ["", f.read().rstrip()]
    os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
    with open(args.out, "w") as f:
        f.write("\n".join(out) + "\n")
    print("report.py: wrote %s (%d rows)" % (args.out, len(rows) + (1 if args.track else 0)),
          file=sys.stderr)


if __name__ == "__main__":
    main()
