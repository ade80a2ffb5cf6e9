#!/bin/sh
# Installs the Debian packages a make target needs when any is missing, and
# does nothing when all are there:
#   install_deps.sh TARGET PACKAGE...
# As root it runs apt-get; otherwise through sudo when that needs no
# password; otherwise it stops at once with the one command that would.
set -eu
target=$1
shift

if ! command -v dpkg-query > /dev/null 2>&1; then
    echo "$target: not a Debian system; install by hand: $*" >&2
    exit 0
fi

missing=
for package in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2> /dev/null | grep -q 'install ok installed'; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "$target: installing$missing"
if [ "$(id -u)" -eq 0 ]; then
    run=
elif command -v sudo > /dev/null 2>&1 && sudo -n true 2> /dev/null; then
    run="sudo -n"
else
    echo "$target: missing$missing; install them with:" >&2
    echo "  sudo apt-get install -y --no-install-recommends$missing" >&2
    exit 1
fi
$run env DEBIAN_FRONTEND=noninteractive apt-get update -q
$run env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $missing
