#!/bin/sh
# Installs the built library into a scratch prefix and builds a tiny program
# against it twice: through find_package(quillon CONFIG) and through
# pkg-config. Both must run and print the expected distance.
#   check.sh BUILD_DIR
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null
libdir=$(ls -d "$scratch"/prefix/lib*/ | head -n 1)

cmake -S "$here" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$scratch/prefix" > /dev/null
cmake --build "$scratch/cmake" > /dev/null
out=$("$scratch/cmake/consumer")
[ "$out" = "1.23457km" ] || { echo "find_package consumer printed '$out'"; exit 1; }

export PKG_CONFIG_PATH="$libdir/pkgconfig"
c++ -std=c++17 "$here/main.cpp" -o "$scratch/pc-consumer" $(pkg-config --cflags --libs quillon) \
    -Wl,-rpath,"$libdir"
out=$("$scratch/pc-consumer")
[ "$out" = "1.23457km" ] || { echo "pkg-config consumer printed '$out'"; exit 1; }
echo "install: find_package and pkg-config consumers work"
