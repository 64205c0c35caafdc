#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen;
# then checks what the build installs and its Debian package
# (tools/check_package.sh), runs the suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer (build-asan/), and runs every fuzz target for a
# short while (build-fuzz/).
# Any failure, sanitizer report or fuzzer crash fails the script.
# The printer tests start a private CUPS scheduler of their own.
#
# Arguments go to ctest (for example -R tst_sheet). LAMELLO_FUZZ_SECONDS sets
# the time per fuzz target (default 60); LAMELLO_QUICK=1 skips the package
# check, the sanitized run and the fuzzing.
set -euo pipefail
LAMELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$LAMELLO_ROOT/tools/deps.sh"
lamello_install_packages
export QT_QPA_PLATFORM=offscreen

lamello_build
ctest --test-dir "$LAMELLO_ROOT/build" --output-on-failure "$@"

[ -n "${LAMELLO_QUICK:-}" ] && exit 0

echo "== the installed files and the Debian package"
bash "$LAMELLO_ROOT/tools/check_package.sh" "$LAMELLO_ROOT/build"

echo "== the tests again, under AddressSanitizer and UndefinedBehaviorSanitizer"
lamello_build_sanitized
(lamello_sanitizer_environment && ctest --test-dir "$LAMELLO_ROOT/build-asan" --output-on-failure "$@")

echo "== fuzzing"
lamello_build_fuzzers
(lamello_sanitizer_environment && bash "$LAMELLO_ROOT/fuzz/run.sh" "$LAMELLO_ROOT/build-fuzz" "${LAMELLO_FUZZ_SECONDS:-60}")

# One closing line for whoever reads the log: every ctest entry of both runs
# and every fuzz target passed, and the package check (any failure has ended
# the script before here).
tests=$(ctest --test-dir "$LAMELLO_ROOT/build" -N "$@" | grep -c 'Test *#' || true)
fuzzers=$(grep -c . "$LAMELLO_ROOT/build-fuzz/fuzz/fuzzers.txt" || true)
echo "lamello: $((2 * tests + fuzzers + 1)) passed, 0 failed"
