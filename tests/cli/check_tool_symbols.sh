#!/bin/sh
# Checks that the quillon tool is an ordinary user of the library: it
# defines none of the symbols the shared library exports, and no function or
# object of namespace quillon of its own. Only the inline functions and
# templates of the public headers (Result<T>, to_utf8, format_length, ...)
# may appear, as the weak symbols every user program compiles.
#   check_tool_symbols.sh TOOL LIBRARY
set -u
tool=$1
lib=$2
fail=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

nm --defined-only "$tool" | awk 'NF == 3 {print $3}' | sort -u > "$scratch/tool"
if ! grep -qx main "$scratch/tool"; then
    echo "no symbols in $tool (stripped?)"
    exit 1
fi
nm -D --defined-only "$lib" | awk 'NF == 3 && $2 ~ /^[TWDBRVu]$/ {print $3}' | sort -u > "$scratch/library"
if [ ! -s "$scratch/library" ]; then
    echo "no exports found in $lib"
    exit 1
fi

comm -12 "$scratch/tool" "$scratch/library" > "$scratch/both"
if [ -s "$scratch/both" ]; then
    echo "the tool defines symbols the library exports:"
    c++filt < "$scratch/both" | sed 's/^/  /'
    fail=1
fi

# Strong definitions in namespace quillon come from library code compiled in.
nm --defined-only -C "$tool" | sed -n 's/^[0-9a-fA-F]* [TDBR] //p' |
    grep -E '^((typeinfo|typeinfo name|vtable|VTT|guard variable for|construction vtable) for )?quillon::' > "$scratch/own"
if [ -s "$scratch/own" ]; then
    echo "the tool defines library code of its own:"
    sed 's/^/  /' "$scratch/own"
    fail=1
fi

[ $fail -eq 0 ] && echo "tool symbols: $(wc -l < "$scratch/tool") defined, none of the library's"
exit $fail
