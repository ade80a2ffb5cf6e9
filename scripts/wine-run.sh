#!/bin/sh
# Runs a Windows program of the cross build under Wine, quietly and in the
# prefix WINEPREFIX (default: wineprefix in the current directory's build
# tree), which is created on first use. The program's exit status is ours.
#   wine-run.sh PROGRAM.exe [ARGS...]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=$(pwd)/wineprefix}"
: "${WINEDEBUG:=-all}"
export WINEPREFIX WINEDEBUG
"$here/wine-prefix.sh" "$WINEPREFIX"
exec wine "$@"
