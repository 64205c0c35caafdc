#!/usr/bin/env bash
# Checks what a built tree installs and packages, with the desktop's and
# Debian's own tools: the install into a DESTDIR, the desktop entry, the
# AppStream metadata, the project file type, the manual pages, the installed
# programs (with no display), and the .deb made by cpack, through lintian.
# Any error fails it; lintian's warnings are shown and do not.
#
#     bash tools/check_package.sh [BUILD_FOLDER]     (build/ by default)
#
# The tools come with tools/deps.sh; tools/test.sh runs this after the suite.
set -euo pipefail
LAMELLO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$(cd "${1:-$LAMELLO_ROOT/build}" && pwd)
ID=io.github.lamello.Lamello
started=$SECONDS
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dest=$work/dest
share=$dest/usr/share

fail() {
    echo "package check failed: $*" >&2
    exit 1
}
# Runs a command that must say nothing (no error, no warning) but the one
# line lamello-batch gives when texts do not fit their fields.
silent() {
    local said
    said=$("$@" 2>&1) || fail "$* (exit status $?): $said"
    said=$(grep -v 'się w ramkach\.$' <<<"$said" || true)
    [ -z "$said" ] || fail "$*: $said"
}

echo "-- installing into a DESTDIR"
DESTDIR=$dest cmake --install "$BUILD" --prefix /usr >/dev/null
for f in bin/lamello bin/lamello-batch \
    share/applications/$ID.desktop share/metainfo/$ID.metainfo.xml share/mime/packages/$ID.xml \
    share/icons/hicolor/scalable/apps/$ID.svg share/icons/hicolor/{48x48,128x128,256x256}/apps/$ID.png \
    share/icons/hicolor/scalable/mimetypes/application-x-lamello-project.svg \
    share/man/man1/lamello.1.gz share/man/man1/lamello-batch.1.gz \
    share/doc/lamello/copyright share/doc/lamello/changelog.Debian.gz; do
    [ -f "$dest/usr/$f" ] || fail "not installed: /usr/$f"
done
for size in 48 128 256; do
    file "$share/icons/hicolor/${size}x$size/apps/$ID.png" | grep -q "PNG image data, $size x $size," \
        || fail "the ${size}x$size icon is not a $size px PNG"
done

echo "-- the installed programs, with no display"
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
help=$("${nodisplay[@]}" "$dest/usr/bin/lamello" --help) || fail "lamello --help: exit status $?"
grep -q '^Użycie: lamello' <<<"$help" || fail "lamello --help: $help"
version=$("${nodisplay[@]}" "$dest/usr/bin/lamello" --version) || fail "lamello --version: exit status $?"
[[ $version =~ ^lamello\ ([0-9][0-9.]*)$ ]] || fail "lamello --version: $version"
version=${BASH_REMATCH[1]}
[ "$("$dest/usr/bin/lamello-batch" --version)" = "lamello-batch $version" ] || fail "lamello-batch --version"
"${nodisplay[@]}" "$dest/usr/bin/lamello-batch" "$LAMELLO_ROOT/examples/panel.txt" -o "$work/panel.pdf"
pdfinfo "$work/panel.pdf" | grep -q '^Pages: *[1-9]' || fail "examples/panel.txt printed no page"
# A project: one font record per line of its texts (TIMES_K, 10 px, normal,
# at stream version 12, as the program writes it) and the texts beside it.
cp "$LAMELLO_ROOT/examples/panel.txt" "$work/szafa.dat"
record='\0\0\0\016\0T\0I\0M\0E\0S\0_\0K\277\360\0\0\0\0\0\0\0\0\0\012\005\001\0\062\020\0\144\001\0\0\0\0\0\0\0\0'
for ((i = 0; i < $(wc -l <"$work/szafa.dat"); ++i)); do printf "$record"; done >"$work/szafa.lmpro"
silent "${nodisplay[@]}" "$dest/usr/bin/lamello-batch" "$work/szafa.lmpro" -o "$work/szafa.pdf"
cmp -s <(pdftotext "$work/panel.pdf" -) <(pdftotext "$work/szafa.pdf" -) || fail "the project printed other texts"

echo "-- desktop entry"
silent desktop-file-validate "$share/applications/$ID.desktop"
grep -qx 'Exec=lamello %F' "$share/applications/$ID.desktop" || fail "the desktop entry does not start lamello %F"

grep -qx 'MimeType=application/x-lamello-project;' "$share/applications/$ID.desktop" \
    || fail "the desktop entry claims more than the project type"
# Installed beside another text editor, Lamello takes nothing over: text
# files still open in the editor by default.
other=$work/other/share
mkdir -p "$other/applications"
printf '[Desktop Entry]\nType=Application\nName=Editor\nExec=editor %%F\nMimeType=text/plain;\n' \
    >"$other/applications/editor.desktop"
silent update-desktop-database "$other/applications"
silent update-desktop-database "$share/applications"
default=$(env XDG_DATA_HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_CONFIG_DIRS="$work/none" \
    XDG_DATA_DIRS="$share:$other" xdg-mime query default text/plain)
[ "$default" = editor.desktop ] || fail "text/plain opens with '$default', not the text editor"

echo "-- the window's class, under Xvfb"
# Docks tie a window to its menu entry by WM_CLASS: it must be what the
# entry's StartupWMClass says.
wmclass=$(grep '^StartupWMClass=' "$share/applications/$ID.desktop" | cut -d= -f2)
said=$(HOME="$work/home" xvfb-run -a -s '-screen 0 1280x1024x24' bash -c '
    QT_QPA_PLATFORM=xcb "$1" & pid=$!
    for _ in $(seq 150); do
        id=$(xwininfo -root -tree | awk "/\\(\"[^\"]*\" \"[^\"]*\"\\)/ { print \$1; exit }")
        [ -n "$id" ] && break
        sleep 0.2
    done
    [ -n "$id" ] && xprop -id "$id" WM_CLASS
    kill "$pid"' lamello "$dest/usr/bin/lamello" 2>/dev/null) || true
[[ $said == *"\"$wmclass\"" ]] || fail "the window's WM_CLASS ($said) is not the entry's StartupWMClass $wmclass"

echo "-- AppStream metadata"
appstreamcli validate --no-net "$share/metainfo/$ID.metainfo.xml" >"$work/appstream.txt" 2>&1 \
    || fail "appstreamcli validate: $(cat "$work/appstream.txt")"
grep -q "<release version=\"$version\" date=\"[0-9-]*\"/>" "$share/metainfo/$ID.metainfo.xml" \
    || fail "the metadata's release is not $version"

echo "-- project file type"
silent xmllint --noout "$share/mime/packages/$ID.xml"
# The database of the DESTDIR alone, then asked as a desktop session would.
xdg=(env XDG_DATA_HOME="$work/home" XDG_DATA_DIRS="$share:/usr/share")
silent "${xdg[@]}" update-mime-database "$share/mime"
type=$("${xdg[@]}" xdg-mime query filetype "$work/szafa.lmpro")
[ "$type" = application/x-lamello-project ] || fail "xdg-mime says a project is $type"

echo "-- manual pages"
for page in lamello lamello-batch; do
    gz=$share/man/man1/$page.1.gz
    gzip -t "$gz"
    silent groff -ww -man -Tutf8 -z <(zcat "$gz")
    MANWIDTH=80 man --warnings -l "$gz" >"$work/$page.txt" 2>"$work/$page.err" || fail "man -l $page: exit status $?"
    [ ! -s "$work/$page.err" ] || fail "man -l $page: $(cat "$work/$page.err")"
    grep -q "Lamello $version" "$work/$page.txt" || fail "$page(1) does not name version $version"
done

echo "-- Debian package"
(cd "$BUILD" && cpack -G DEB -B "$work/deb" >"$work/cpack.txt" 2>&1) || fail "cpack: $(cat "$work/cpack.txt")"
deb=$(echo "$work"/deb/lamello_"$version"-*_*.deb)
[ -f "$deb" ] || fail "cpack made no lamello_$version package: $(ls "$work/deb")"
[ "$(dpkg-deb -f "$deb" Section)" = graphics ] || fail "section"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *'libqt6widgets6 (>='* ]] || fail "no Qt in the dependencies: $depends"
dpkg-deb -c "$deb" >"$work/contents.txt"
grep -q ' ./usr/share/doc/lamello/changelog.Debian.gz$' "$work/contents.txt" || fail "no changelog.Debian.gz"
status=0
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1 || status=$?
# (Lintian notes that it runs as root, as CI does: that line is not about the package.)
grep -v '^running with root privileges' "$work/lintian.txt" || true
[ "$status" -eq 0 ] && ! grep -q '^E:' "$work/lintian.txt" || fail "lintian found errors"

echo "package check: $(basename "$deb") passed in $((SECONDS - started)) s"
