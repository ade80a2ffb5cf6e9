#!/bin/sh
# Runs one fuzzer of a fuzz build for a set time on its corpus and prints
# one line: its name, ok or FAILED, and the executions it reached. The
# corpus grows in BUILD/corpus/NAME/ (seeds read from BUILD/seeds/NAME/);
# the log goes to BUILD/logs/NAME.log and a failing input to BUILD/artifacts/.
#
#   run_one.sh BUILD SECONDS NAME
set -u
build=$1
seconds=$2
name=$3
mkdir -p "$build/corpus/$name" "$build/seeds/$name" "$build/logs" "$build/artifacts"
if "$build/$name" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/$name-" \
    "$build/corpus/$name" "$build/seeds/$name" > "$build/logs/$name.log" 2>&1; then
    status=ok
else
    status=FAILED
fi
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$name.log" | tail -n 1)
printf '%-22s %-6s %12s executions in %s s\n' "$name" "$status" "${runs:-?}" "$seconds"
[ "$status" = ok ]
