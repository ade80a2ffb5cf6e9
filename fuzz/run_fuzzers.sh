#!/bin/sh
# Runs every fuzzer of a fuzz build for a set time, PARALLEL at a time, each
# on its own corpus (see run_one.sh). Exits non-zero when any fuzzer finds a
# crash, a leak, a hang or a failed property.
#
#   run_fuzzers.sh BUILD SECONDS [PARALLEL] [NMEA_DIR]
#
# The seeds are written afresh into BUILD/seeds/ by make_corpus.sh.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=$2
parallel=${3:-1}
nmea=${4:-$here/../../shared/data/nmea}

rm -rf "$build/seeds"
sh "$here/make_corpus.sh" "$build/seeds" "$nmea"

fuzzers=$(cd "$build" && find . -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sed 's|^\./||' | sort)
[ -n "$fuzzers" ] || { echo "run_fuzzers.sh: no fuzzers in $build" >&2; exit 1; }

if ! printf '%s\n' $fuzzers | xargs -P "$parallel" -n 1 sh "$here/run_one.sh" "$build" "$seconds"; then
    echo "run_fuzzers.sh: a fuzzer failed; see $build/logs/ and the inputs kept in $build/artifacts/" >&2
    exit 1
fi
