#!/bin/sh
# Installs the Debian packages the benchmarks need when any is missing:
# Google Benchmark, the peers (GeographicLib, Eigen, gpsd's gpsdecode) and
# python3 for the report. Does nothing when all are there.
set -eu
packages="libbenchmark-dev libgeographiclib-dev libeigen3-dev gpsd-clients python3"

if ! command -v dpkg-query > /dev/null 2>&1; then
    echo "bench-deps: not a Debian system; install by hand: $packages" >&2
    exit 0
fi

missing=
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "bench-deps: installing$missing"
if [ "$(id -u)" -eq 0 ]; then
    run=
elif command -v sudo > /dev/null 2>&1; then
    run="sudo -n"
else
    echo "bench-deps: need root (or sudo) to install$missing" >&2
    exit 1
fi
$run env DEBIAN_FRONTEND=noninteractive apt-get update -q
$run env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
