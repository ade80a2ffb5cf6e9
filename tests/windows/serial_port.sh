#!/bin/sh
# The Windows tool reads a receiver on a serial port as it talks, with --baud
# setting the port up. A pseudo-terminal pair stands in for the cable: Wine
# maps COM ports to Linux devices through the links in its prefix.
#   serial_port.sh QUILLON_EXE   (WINEPREFIX set; exit 77: skipped)
set -eu
tool=$1
command -v socat > /dev/null || { echo "skipped: socat not installed (Debian: socat)"; exit 77; }
export WINEDEBUG=-all
dir=$(mktemp -d)
link=$WINEPREFIX/dosdevices/com9
socat "pty,raw,echo=0,link=$dir/port" "pty,raw,echo=0,link=$dir/receiver" & socat=$!
run=
trap 'kill $socat $run 2> /dev/null || true; rm -f "$link"; rm -rf "$dir"' EXIT
i=0
until [ -e "$dir/receiver" ] || [ $i -ge 50 ]; do sleep 0.1; i=$((i + 1)); done
ln -sf "$(readlink -f "$dir/port")" "$link"

sh "$(dirname "$0")/../../scripts/wine-run.sh" "$tool" track --json --baud 115200 COM9 > "$dir/out" 2>&1 & run=$!
# The tool opens the port some seconds after Wine starts: the receiver says
# its two sentences (one fix, completed by the next cycle) every second
# until the fix comes out, as a receiver would.
gga() { printf '$GPGGA,12000%s.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*%s\r\n' "$1" "$2"; }
i=0
until grep -q '"class":"FIX"' "$dir/out" || [ $i -ge 60 ]; do
    { gga 0 67; gga 1 66; } > "$dir/receiver"
    sleep 1
    i=$((i + 1))
done
if ! grep -q '"time_of_day":"12:00:00.000"' "$dir/out"; then
    echo "no fix came out while the port was open:"
    cat "$dir/out"
    exit 1
fi
echo "a fix came out live"
