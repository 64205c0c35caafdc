#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite offscreen.
# The printer tests start a private CUPS scheduler of their own.
set -euo pipefail
LAMELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$LAMELLO_ROOT/tools/deps.sh"
lamello_install_packages
lamello_build
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$LAMELLO_ROOT/build" --output-on-failure "$@"
