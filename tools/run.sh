#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lamello; arguments go to the
# program (the first one may name a project file). Without a display the
# program runs under a virtual X server.
set -euo pipefail
LAMELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$LAMELLO_ROOT/tools/deps.sh"
lamello_install_packages
lamello_build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1000x24" "$LAMELLO_ROOT/build/src/lamello" "$@"
fi
exec "$LAMELLO_ROOT/build/src/lamello" "$@"
