#!/usr/bin/env bash
# lamello-batch writing a PDF of 6,000 barettes with n = 8 (54,000 fields,
# 1,000 pages) and of 600 barettes, texts from examples/panel.txt repeated,
# and of 1,220 barettes whose nine texts are 32,000 characters each (a
# spreadsheet row of full cells, repeated: a 351 MB file).
# Measures each run with /usr/bin/time (CPU = user + system, peak resident
# size) and reports the figures against their targets.
#
#   bash bench/batch_bench.sh [BUILD_DIR] [REPETITIONS]
#
# The median of the repetitions is reported (default 5).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-$ROOT/build}
REPS=${2:-5}
BATCH=$BUILD/src/lamello-batch
[ -x "$BATCH" ] || { echo "no $BATCH: build first (cmake --build build)" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing (Debian package 'time')" >&2; exit 1; }
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

# make_input BARETTES FILE: the example panel's lines repeated to BARETTES * 9 lines.
make_input() {
    local lines=$(($1 * 9))
    local src="$ROOT/examples/panel.txt"
    : >"$2"
    while [ "$(wc -l <"$2")" -lt "$lines" ]; do cat "$src" >>"$2"; done
    head -n "$lines" "$2" >"$2.cut" && mv "$2.cut" "$2"
}

# make_long_input BARETTES FILE: every field a line of 32,000 characters, the
# example panel's words over and over, each of the nine a little different.
make_long_input() {
    local words line i
    words=$(tr '\n' ' ' <"$ROOT/examples/panel.txt")
    line=$words
    while [ ${#line} -lt 33000 ]; do line="$line$words"; done
    for i in 0 1 2 3 4 5 6 7 8; do printf '%s\n' "${line:$((i * 7)):32000}"; done >"$2.one"
    : >"$2"
    for i in $(seq 1 "$1"); do cat "$2.one"; done >"$2"
    rm -f "$2.one"
}

# run BARETTES [MAKER]: prints "cpu_seconds max_rss_kib" of the median run.
run() {
    local input=$TMP/in$1.txt out=$TMP/out$1.pdf i
    ${2:-make_input} "$1" "$input"
    for i in $(seq 1 "$REPS"); do
        rm -f "$out"
        /usr/bin/time -f "%U %S %M" -o "$TMP/time" "$BATCH" "$input" -o "$out"
        awk '{ printf "%.3f %d\n", $1 + $2, $3 }' "$TMP/time"
    done | sort -n | awk -v m=$(((REPS + 1) / 2)) 'NR == m'
}

read -r cpu600 rss600 < <(run 600)
pages600=$(pdfinfo "$TMP/out600.pdf" | awk '/^Pages:/ { print $2 }')
bytes600=$(stat -c %s "$TMP/out600.pdf")
read -r cpu6000 rss6000 < <(run 6000)
pages6000=$(pdfinfo "$TMP/out6000.pdf" | awk '/^Pages:/ { print $2 }')
bytes6000=$(stat -c %s "$TMP/out6000.pdf")
read -r cpuLong rssLong < <(run 1220 make_long_input)
bytesLong=$(stat -c %s "$TMP/out1220.pdf")
rm -f "$TMP/in1220.txt"

awk -v c1="$cpu600" -v r1="$rss600" -v p1="$pages600" -v b1="$bytes600" \
    -v c2="$cpu6000" -v r2="$rss6000" -v p2="$pages6000" -v b2="$bytes6000" -v reps="$REPS" \
    -v c3="$cpuLong" -v r3="$rssLong" -v b3="$bytesLong" 'BEGIN {
    printf "lamello-batch, median of %d runs\n", reps
    printf "%-28s %10s %12s %7s %14s\n", "input", "CPU s", "peak RSS MiB", "pages", "PDF KiB/page"
    printf "%-28s %10.2f %12.1f %7d %14.1f\n", "600 barettes (5,400 fields)", c1, r1 / 1024, p1, b1 / 1024 / p1
    printf "%-28s %10.2f %12.1f %7d %14.1f\n", "6,000 barettes (54,000)", c2, r2 / 1024, p2, b2 / 1024 / p2
    printf "%-28s %10.2f %12.1f %7s %14s\n", "1,220 barettes of long texts", c3, r3 / 1024, "", sprintf("%.1f MiB", b3 / 1048576)
    ratio = c2 / c1
    printf "\n6,000 / 600 CPU: %.1fx (target <= 11x)\n", ratio
    printf "54,000 fields: %.2f s CPU (target <= 2 s), %.0f MiB resident (target < 250 MB)\n", c2, r2 / 1024
    printf "10,980 fields of 32,000 characters: %.2f s CPU (target <= 2 s)\n", c3
    ok = (c2 <= 2 && ratio <= 11 && r2 * 1024 < 250e6 && c3 <= 2)
    print ok ? "all targets met" : "TARGET MISSED"
    exit ok ? 0 : 1
}'
