#!/usr/bin/env bash
# Installs what is missing, builds, and starts Lamello; arguments go to the
# program (the first one may name a project or a descriptions file).
#
# Without a display no window could be seen, so none is started: the example
# panel is printed into a PDF with lamello-batch instead, and the script says
# where the file is and how to start the window on a desktop.
set -euo pipefail
LAMELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$LAMELLO_ROOT/tools/deps.sh"
lamello_install_packages
lamello_build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    pdf="$LAMELLO_ROOT/build/panel.pdf"
    "$LAMELLO_ROOT/build/src/lamello-batch" "$LAMELLO_ROOT/examples/panel.txt" -o "$pdf"
    echo "No display here, so no window was started."
    echo "examples/panel.txt was printed at true size (A4) into: $pdf"
    echo "Print your own file the same way:"
    echo "    $LAMELLO_ROOT/build/src/lamello-batch FILE.txt -o FILE.pdf    (--help for more)"
    echo "On a desktop (a graphical session), start the window with:"
    echo "    bash tools/run.sh [PROJECT.lmpro or FILE.txt]"
    exit 0
fi
exec "$LAMELLO_ROOT/build/src/lamello" "$@"
