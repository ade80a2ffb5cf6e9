#!/bin/sh
# Creates a Wine prefix for the tests and screenshots, once: 64-bit, quiet,
# and with Wine drawing its own window frames (Managed=N) so dialogs have a
# caption bar without a window manager. Safe to call from parallel runs.
#   wine-prefix.sh PREFIX
set -eu
prefix=$1
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEDEBUG=-all
(
    flock 9
    if [ ! -f "$prefix/.quillon-ready" ]; then
        echo "creating Wine prefix $prefix (first run only)" >&2
        wine wineboot -i >/dev/null 2>&1 || true
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.quillon-ready"
    fi
) 9>"$prefix.lock"
