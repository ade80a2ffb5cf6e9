#!/bin/sh
# `pip install .` of a checkout, offline, into a fresh virtual environment
# over Debian's python3 and its packages; the module must then import from
# outside the checkout, from the environment, with no library beside it.
#   python/check_install.sh [PYTHON]     (PYTHON: /usr/bin/python3)
set -eu
python=${1:-/usr/bin/python3}
source=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$python" -m venv --system-site-packages "$work/env"
# The tracked files of the checkout, copied, so that the build leaves nothing in it.
mkdir "$work/src"
(cd "$source" && git ls-files -z | tar --null -T - -cf -) | tar -C "$work/src" -xf -
"$work/env/bin/pip" install --no-build-isolation --no-index -q "$work/src"
cd /
"$work/env/bin/python" - "$work/env" << 'PY'
import pathlib, sys
import quillon
where = pathlib.Path(quillon.__file__).resolve()
assert pathlib.Path(sys.argv[1]).resolve() in where.parents, f"imported from {where}"
assert (where.parent / "_core.pyi").exists() and (where.parent / "py.typed").exists(), "stubs not installed"
assert quillon.format_lat(51.477811) == "N51 28 40.120"
print("quillon", quillon.__version__, "installed and imported from", where.parent)
PY
