#!/bin/sh
# Renders each dialog template of quillon.dll under Wine on a private X
# server and saves it as a PNG, cut to the dialog's window.
#   screenshots.sh BUILD-DIR OUT-DIR      (make screenshots)
# Needs the cross build (make windows), wine, xvfb (xvfb-run, xauth) and
# imagemagick (import, convert).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all
"$here/wine-prefix.sh" "$WINEPREFIX"

# One X server for all ten, started once.
if [ -z "${QUILLON_SCREENSHOT_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" env QUILLON_SCREENSHOT_DISPLAY=1 "$0" "$@"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$build/bin"
for entry in 7010:save-as 7011:geodetics 7012:geodetics-datum 7013:transverse-mercator \
             7014:lambert 7015:polar-stereographic 7016:data-units 7017:brindle-local \
             7018:local-coordinate-system 7019:station-offset; do
    id=${entry%%:*}
    rect="$work/$id.rect"
    wine quillon_show_dialog.exe "$id" "$rect" &
    shown=$!
    tries=0
    while [ ! -s "$rect" ] && [ $tries -lt 300 ]; do sleep 0.1; tries=$((tries + 1)); done
    if [ ! -s "$rect" ]; then
        echo "dialog $id did not come up" >&2
        kill "$shown" 2>/dev/null || true
        exit 1
    fi
    read -r left top right bottom <"$rect"
    import -window root "$work/screen.png"
    convert "$work/screen.png" -crop "$((right - left))x$((bottom - top))+$left+$top" +repage \
        "$out/$id-${entry#*:}.png"
    wait "$shown" || true
    echo "$out/$id-${entry#*:}.png"
done
wineserver -w
