#!/bin/sh
# Creates a Wine prefix for the tests and screenshots, once: 64-bit, quiet,
# with Wine's fonts, and with Wine drawing its own window frames (Managed=N)
# so dialogs have a caption bar without a window manager. Safe to call from
# parallel runs.
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
        # Wine's own fonts (Debian fonts-wine): Marlett draws the caption
        # buttons, "MS Sans Serif" the dialogs. This Wine does not look for
        # them where Debian puts them, but it does look in the prefix.
        if [ -d /usr/share/wine/fonts ]; then
            cp /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
        fi
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wineserver -w
        touch "$prefix/.quillon-ready"
    fi
) 9>"$prefix.lock"
