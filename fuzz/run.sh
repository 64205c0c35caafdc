#!/usr/bin/env bash
# Runs every fuzz target of a LAMELLO_FUZZ build for a fixed time from its
# committed seeds; fails on the first crash, leak or sanitizer report.
#
#   bash fuzz/run.sh BUILD_DIR [SECONDS_PER_TARGET]
#
# New inputs found on the way go to a scratch folder, not to the committed
# corpus; a crashing input is left as BUILD_DIR/fuzz/artifacts/<target>-crash-...
# (see README.md for turning it into a regression case).
set -euo pipefail
FUZZ_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$1
seconds=${2:-60}
list="$build/fuzz/fuzzers.txt"
[ -f "$list" ] || { echo "no fuzz targets in $build (configure it with -DLAMELLO_FUZZ=ON)" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/fuzz/artifacts"
status=0
while read -r target; do
    [ -n "$target" ] || continue
    seeds="$FUZZ_ROOT/corpus/$target"
    mkdir -p "$scratch/$target"
    echo "== $target: ${seconds}s from $(ls "$seeds" | wc -l) seeds"
    # A format's names, where the target has them (fuzz_<name>.dict).
    dict=()
    [ -f "$FUZZ_ROOT/$target.dict" ] && dict=(-dict="$FUZZ_ROOT/$target.dict")
    # -timeout: one input may take at most 10 s; -rss_limit_mb: and 2 GB.
    if ! "$build/fuzz/$target" "${dict[@]}" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
            -print_final_stats=1 -artifact_prefix="$build/fuzz/artifacts/$target-" \
            "$scratch/$target" "$seeds" >"$scratch/$target.log" 2>&1; then
        tail -n 60 "$scratch/$target.log"
        echo "== $target FAILED; the input is in $build/fuzz/artifacts/" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$scratch/$target.log" | tr '\n' ' '
        echo
    fi
done <"$list"
exit $status
