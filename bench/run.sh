#!/bin/sh
# Runs every benchmark and the track comparison of an already built bench
# build, then writes the report.
# Usage: run.sh BUILD_DIR OUT.md [NMEA_DIR]
# QUILLON_TOOL names another build of the quillon tool to compare (default:
# the one in BUILD_DIR).
set -eu
build=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
nmea=${3:-$(cd "$here/../.." && pwd)/shared/data/nmea}
results=$build/bench-results
mkdir -p "$results"

QUILLON_NMEA_DIR=$nmea "$build/bench/quillon_bench" \
    --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_min_time=0.1 \
    --benchmark_out="$results/benchmarks.json" --benchmark_out_format=json

# The real logs concatenated to 25 MiB and to 100 MiB: the rate is read on the
# larger, and memory compared between the two.
sh "$here/make_big_log.sh" "$nmea" "$results/logs/quarter.nmea" 25
sh "$here/make_big_log.sh" "$nmea" "$results/logs/big.nmea" 100
python3 "$here/track_compare.py" --quillon "${QUILLON_TOOL:-$build/tools/quillon}" \
    --runner "$build/bench/quillon_run_measured" --out "$results/track.json" \
    "$results/logs/quarter.nmea" "$results/logs/big.nmea"

# The Python module against pymap3d and pyproj, when the build has it.
python_rows=
if [ -d "$build/python/quillon" ]; then
    PYTHONPATH=$build/python /usr/bin/python3 "$here/python_bench.py" --out "$results/python.json"
    python_rows="--bench $results/python.json"
fi

python3 "$here/report.py" --bench "$results/benchmarks.json" $python_rows --track "$results/track.json" \
    --notes "$here/performance_notes.md" --out "$out"
