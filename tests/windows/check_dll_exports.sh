#!/bin/sh
# Checks the export table of quillon.dll: every plain function the public
# headers declare is exported under its undecorated name, the classes'
# members and the overloads under their C++ names, and nothing else. (The
# same rules as tests/check_exports.sh, read from the PE export table; the
# module-state and resource queries exist only outside Windows, where the
# loader cannot report them.)
#   check_dll_exports.sh OBJDUMP DLL INCLUDE_DIR
set -u
objdump=$1
dll=$2
include=$3
fail=0

headers=$(ls "$include"/*.h | grep -v -e '/export.h$' -e '/loader.h$')
plain=$(sed -e 's://.*$::' -e '/^#/d' $headers | tr '\n' ' ' | sed 's/;/;\n/g' |
        grep 'QUILLON_C QUILLON_API' | sed 's/(.*//' | awk '{print $NF}' | tr -d '*' | sort -u | tr '\n' ' ')

# The names of the "[Ordinal/Name Pointer] Table" of the export directory.
exported=$("$objdump" -p "$dll" |
           sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
           sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort -u)
if [ -z "$exported" ]; then
    echo "no export table in $dll"
    exit 1
fi

for name in $plain; do
    if ! echo "$exported" | grep -qx "$name"; then
        echo "missing plain export: $name"
        fail=1
    fi
done

classes='Unit|Units|FLClass|FilterData|CalcBaseStation'
for symbol in $exported; do
    if echo " $plain " | grep -q " $symbol "; then continue; fi
    case $symbol in
    _Z*)
        demangled=$(echo "$symbol" | c++filt)
        if echo "$demangled" | grep -Eq "^(($classes)::|(breakFields|deltaAngle)\(|(typeinfo|typeinfo name|vtable) for ($classes)$)"; then
            continue
        fi
        echo "unexpected C++ export: $demangled"
        fail=1
        ;;
    *)
        echo "unexpected export: $symbol"
        fail=1
        ;;
    esac
done

for cls in Unit Units FLClass FilterData CalcBaseStation; do
    if ! echo "$exported" | c++filt | grep -q "^$cls::$cls("; then
        echo "class not exported: $cls"
        fail=1
    fi
done
for overload in 'breakFields(wchar_t const*, wchar_t (*) [30], int, int)' \
                'breakFields(wchar_t const*, wchar_t (*) [80], int, int)' \
                'breakFields(wchar_t const*, wchar_t (*) [25])' \
                'deltaAngle(double, double, double)'; do
    if ! echo "$exported" | c++filt | grep -qxF "$overload"; then
        echo "overload not exported: $overload"
        fail=1
    fi
done

[ $fail -eq 0 ] && echo "exports: $(echo "$exported" | wc -l) names, all expected"
exit $fail
