#!/bin/sh
# Writes the seed corpus of every harness into OUT/<harness>/: the committed
# test-case texts of seeds/, the settings files of seeds/ini/ (also as
# UTF-16), every input a fuzzer once failed on (regressions/), and lines sampled from the real receiver logs in NMEA_DIR (read
# in place, never copied into the project). Each seed starts with the
# parameter bytes its harness reads first (see the harness), then the byte
# 0x01, which makes the harness read the rest as UTF-8.
#
#   make_corpus.sh OUT [NMEA_DIR]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$1
nmea=${2:-$here/../../shared/data/nmea}
seeds=$here/seeds

n=0
# seed HARNESS PREFIX-PRINTF-FORMAT TEXT: one seed file.
seed() {
    mkdir -p "$out/$1"
    n=$((n + 1))
    { printf "$2"; printf '\001%s' "$3"; } > "$out/$1/seed-$n"
}

# each_line FILE COMMAND...: runs COMMAND LINE for each line of FILE.
each_line() {
    file=$1
    shift
    while IFS= read -r line || [ -n "$line" ]; do
        "$@" "$line"
    done < "$file"
}

length_seeds() {
    # default unit bytes: 3 -> meters, 4 -> feet, 6 -> kilometers, 0 -> -3 (negative)
    for unit in '\003' '\004' '\006' '\000'; do seed fuzz_length_parser "$unit" "$1"; done
}
distance_seeds() {
    for unit in '\003' '\004' '\016'; do seed fuzz_distance_parser "$unit" "$1"; done
}
field_seeds() {
    # form, limit - 1, comma-only flag
    seed fuzz_fields '\000\007\001' "$1"
    seed fuzz_fields '\000\007\000' "$1"
    seed fuzz_fields '\002\023\001' "$1"
    seed fuzz_fields '\003\000\000' "$1"
}

for dir in "$here"/regressions/*/; do
    name=$(basename "$dir")
    mkdir -p "$out/$name"
    cp "$dir"* "$out/$name/"
done

each_line "$seeds/length.txt" length_seeds
each_line "$seeds/distance.txt" distance_seeds
each_line "$seeds/angle.txt" seed fuzz_angle_parser ''
each_line "$seeds/time.txt" seed fuzz_time_text ''
each_line "$seeds/fields.txt" field_seeds
each_line "$seeds/checksum.txt" seed fuzz_checksum ''
each_line "$seeds/file_name.txt" seed fuzz_dos_file_name ''
each_line "$seeds/file_list.txt" seed fuzz_file_list ''

# Sentences from the real logs: a sample of every log, edge cases included.
if [ -d "$nmea" ]; then
    for log in "$nmea"/*.nmea "$nmea"/edge/*.nmea; do
        [ -f "$log" ] || continue
        awk 'NR % 25 == 1' "$log" | head -n 40 > "$out/.sample"
        each_line "$out/.sample" seed fuzz_checksum ''
        awk 'NR % 25 == 2' "$log" | head -n 40 > "$out/.sample"
        each_line "$out/.sample" field_seeds
    done
    rm -f "$out/.sample"
    # The tool's log path: the head and the tail of every log, read directly
    # (flag byte 0) and through the tool's LogReader (flag byte 1).
    mkdir -p "$out/fuzz_log_reader"
    for log in "$nmea"/*.nmea "$nmea"/edge/*.nmea; do
        [ -f "$log" ] || continue
        base=$(basename "$log" .nmea)
        { printf '\001'; head -c 3000 "$log"; } > "$out/fuzz_log_reader/$base-head"
        { printf '\000'; tail -c 3000 "$log"; } > "$out/fuzz_log_reader/$base-tail"
    done
else
    echo "make_corpus.sh: no receiver logs at $nmea; using the committed seeds only" >&2
fi

# Settings files. In-memory editor: flags (bit 0 UTF-16, bit 1 the second key
# is in the same section), name lengths 5, 9, 7, 0, value 7, then the names
# "units", "distUnits", "wpUnits" and the file. On disk: flags (bit 0 UTF-16
# with byte-order mark, bit 2 same section), value 7, fallback -1, then each
# name as its length and UTF-16LE units, then the file.
utf16() { iconv -f UTF-8 -t UTF-16LE; }
names8='units''distUnits''wpUnits'
for ini in "$seeds"/ini/*.ini; do
    base=$(basename "$ini" .ini)
    mkdir -p "$out/fuzz_ini_text" "$out/fuzz_profile_file"
    { printf '\002\005\011\007\000\007\000\000\000%s' "$names8"; cat "$ini"; } > "$out/fuzz_ini_text/$base"
    { printf '\003\005\011\007\000\007\000\000\000'; printf '%s' "$names8" | utf16; utf16 < "$ini"; } \
        > "$out/fuzz_ini_text/$base-utf16"
    for flags in '\004' '\005'; do
        {
            printf "$flags"'\007\000\000\000\377\377\377\377'
            printf '\005'; printf 'units' | utf16
            printf '\011'; printf 'distUnits' | utf16
            printf '\007'; printf 'wpUnits' | utf16
            if [ "$flags" = '\005' ]; then utf16 < "$ini"; else cat "$ini"; fi
        } > "$out/fuzz_profile_file/$base-$(printf "$flags" | od -An -tu1 | tr -d ' ')"
    done
done
