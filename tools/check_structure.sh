#!/usr/bin/env bash
# The structure of src/, checked (a test of the suite runs it):
#   - every include of one of the program's headers points down a floor,
#     or stays in its own folder (the floors are listed below, as in
#     src/CMakeLists.txt);
#   - the folders of the widget-free library include no Qt Widgets header;
#   - no source file has more than 700 lines.
# Prints each fault and fails when there is one.
set -euo pipefail
src=$(cd "$(dirname "${BASH_SOURCE[0]}")/../src" && pwd)

# Floor of each folder, bottom up. Folders of one floor may not include
# each other.
declare -A floor=(
    [system]=1 [layout]=2 [files]=3 [document]=4 [workbooks]=5
    [printing]=6 [prompts]=7 [dialogs]=8 [sheet]=9
    [editor]=10 [geometry]=10 [app]=11 [batch]=11
)
widgetFree=(system layout files document workbooks)
maxLines=700

# The headers of Qt Widgets, by name, from the Qt the build uses.
widgets=$(qmake6 -query QT_INSTALL_HEADERS 2>/dev/null || echo /usr/include/x86_64-linux-gnu/qt6)/QtWidgets

faults=0
fault() {
    echo "$1"
    faults=$((faults + 1))
}

cd "$src"
for dir in */; do
    dir=${dir%/}
    [ "$dir" = resources ] && continue
    [ -n "${floor[$dir]:-}" ] || fault "src/$dir/: a folder without a floor in tools/check_structure.sh"
done

while IFS= read -r file; do
    dir=${file%%/*}
    here=${floor[$dir]:-0}
    while IFS= read -r included; do
        to=${included%%/*}
        [ "$to" = "$dir" ] && continue
        there=${floor[$to]:-}
        [ -z "$there" ] && continue   # generated headers (app/buildinfo.h is app's own)
        if [ "$there" -ge "$here" ]; then
            fault "src/$file includes $included: $to/ is not below $dir/"
        fi
    done < <(sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file")
    for free in "${widgetFree[@]}"; do
        [ "$dir" = "$free" ] || continue
        while IFS= read -r header; do
            [ -e "$widgets/${header#QtWidgets/}" ] && fault "src/$file includes <$header>, a widget header, below the window"
        done < <(sed -n 's/^#include <\(Q[A-Za-z/]*\)>.*/\1/p' "$file")
    done
    lines=$(wc -l < "$file")
    [ "$lines" -le "$maxLines" ] || fault "src/$file has $lines lines, more than $maxLines"
done < <(find . -name '*.cpp' -o -name '*.h' | sed 's#^\./##' | sort)

if [ "$faults" -gt 0 ]; then
    echo "$faults structure faults"
    exit 1
fi
echo "structure: every include points down, no widget below the window, no file over $maxLines lines"
