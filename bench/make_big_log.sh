#!/bin/sh
# Concatenates the real logs (the ordinary ones, not edge/) over and over
# into OUT until it holds at least MEGABYTES mebibytes (default 100).
# Usage: make_big_log.sh NMEA_DIR OUT [MEGABYTES]
set -eu
dir=$1
out=$2
megabytes=${3:-100}
want=$((megabytes * 1024 * 1024))

# An up-to-date file of the right size is kept: the logs never change.
if [ -f "$out" ] && [ "$(wc -c < "$out")" -ge "$want" ]; then
    exit 0
fi

set -- "$dir"/*.nmea
[ -f "$1" ] || { echo "make_big_log.sh: no *.nmea logs in $dir" >&2; exit 1; }

mkdir -p "$(dirname "$out")"
tmp=$out.part
cat "$@" > "$tmp.one"
one=$(wc -c < "$tmp.one")
: > "$tmp"
size=0
while [ "$size" -lt "$want" ]; do
    cat "$tmp.one" >> "$tmp"
    size=$((size + one))
done
rm -f "$tmp.one"
mv "$tmp" "$out"
