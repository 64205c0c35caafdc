#!/usr/bin/env bash
# lamello-batch against the floor (pdf_floor: the same file read, the same
# frames and texts drawn into a PDF with QPdfWriter, nothing else), both as
# whole processes on the same generated file, run in turn A B A B ... so that
# each ratio compares two neighbouring runs on a shared machine.
#
#   bash bench/floor_bench.sh [BUILD_DIR] [REPETITIONS] [BARETTES ...]
#
# Defaults: build/, 3 repetitions, 10000 and 100000 barettes (n = 8, the
# texts of examples/panel.txt repeated). Per size it prints the median CPU
# time (user + system) and peak resident size of each, and the median of the
# pairwise CPU ratios lamello-batch / floor. UNIQUE=1 makes every text
# different (its line number appended), so that nothing can be reused.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}
REPS=${2:-3}
shift $(($# > 2 ? 2 : $#))
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(10000 100000)
BATCH=$BUILD/src/lamello-batch
FLOOR=$BUILD/bench/pdf_floor
for p in "$BATCH" "$FLOOR"; do
    [ -x "$p" ] || { echo "no $p: build first (cmake --build build)" >&2; exit 1; }
done
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (Debian package 'time')" >&2; exit 1; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT
export QT_QPA_PLATFORM=offscreen

# make_input BARETTES FILE
make_input() {
    awk -v lines=$(($1 * 9)) -v unique="${UNIQUE:-0}" '
        { text[n++] = $0 }
        END { for (i = 0; i < lines; ++i) print unique ? text[i % n] " " i : text[i % n] }' \
        "$ROOT/examples/panel.txt" >"$2"
}

# measure NAME COMMAND...: appends "cpu_seconds max_rss_kib" to $TMP/NAME
measure() {
    local name=$1
    shift
    rm -f "$TMP/out.pdf"
    /usr/bin/time -f "%U %S %M" -o "$TMP/time" "$@" >/dev/null 2>&1
    awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$TMP/time" >>"$TMP/$name"
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf "%-10s %14s %14s %9s %16s %16s\n" barettes "batch CPU s" "floor CPU s" ratio "batch peak MiB" "floor peak MiB"
for n in "${SIZES[@]}"; do
    input=$TMP/in$n.txt
    make_input "$n" "$input"
    rm -f "$TMP/batch" "$TMP/floor"
    for _ in $(seq 1 "$REPS"); do
        measure batch "$BATCH" "$input" -o "$TMP/out.pdf" --no-limit
        measure floor "$FLOOR" "$input" "$TMP/out.pdf"
    done
    rm -f "$TMP/out.pdf"
    ratio=$(paste -d' ' "$TMP/batch" "$TMP/floor" | awk '{ printf "%.4f\n", $1 / $3 }' | median)
    printf "%-10s %14.2f %14.2f %9.2f %16.0f %16.0f\n" "$n" \
        "$(cut -d' ' -f1 "$TMP/batch" | median)" "$(cut -d' ' -f1 "$TMP/floor" | median)" "$ratio" \
        "$(cut -d' ' -f2 "$TMP/batch" | median | awk '{ print $1 / 1024 }')" \
        "$(cut -d' ' -f2 "$TMP/floor" | median | awk '{ print $1 / 1024 }')"
    rm -f "$input"
done
