#!/bin/sh
# Checks the exports of the built library: every plain function the flat
# headers declare is exported under its undecorated name, the classes'
# members and the overloads under C++ names, the C++ API in namespace
# quillon, and nothing else.
#   check_exports.sh LIBRARY INCLUDE_DIR            (ELF: the dynamic symbols)
#   check_exports.sh LIBRARY INCLUDE_DIR OBJDUMP    (a DLL: its export table)
set -u
lib=$1
include=$2
objdump=${3:-}
fail=0

headers=$(ls "$include"/*.h | grep -v -e '/export.h$' -e '/loader.h$')
plain=$(sed -e 's://.*$::' -e '/^#/d' $headers | tr '\n' ' ' | sed 's/;/;\n/g' |
        grep 'QUILLON_C QUILLON_API' | sed 's/(.*//' | awk '{print $NF}' | tr -d '*' | sort -u | tr '\n' ' ')
if [ -z "$objdump" ]; then
    # The module-state query is how a host outside Windows sees the load
    # result, and the resource query how it finds the dialog templates; on
    # Windows the loader and the resource section do that.
    plain="$plain quillonModuleState quillonFindResource"
    exported=$(nm -D --defined-only "$lib" | awk '$2 ~ /^[TWDBRVu]$/ {print $3}' | sort -u)
else
    # The names of the "[Ordinal/Name Pointer] Table" of the export directory.
    exported=$("$objdump" -p "$lib" |
               sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
               sed -n 's/^[[:space:]]*\[ *[0-9]*\] \(.*\)$/\1/p' | sort -u)
fi
if [ -z "$exported" ]; then
    echo "no exports found in $lib"
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
        # The C++ API: everything in namespace quillon.
        if echo "$demangled" | grep -Eq "^((typeinfo|typeinfo name|vtable) for )?quillon::"; then
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

[ $fail -eq 0 ] && echo "exports: $(echo "$exported" | wc -l) symbols, all expected"
exit $fail
