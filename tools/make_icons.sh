#!/bin/sh
# Regenerate the PNG icons in src/resources/icons/ from the Tango icon theme
# (Debian package tango-icon-theme, public domain) and from our own SVG
# drawings in src/resources/icons/src/, and the PNG sizes of the desktop icons
# (application and project file) in data/icons/hicolor/ from their SVGs there.
# Needs: tango-icon-theme, librsvg2-bin (rsvg-convert), imagemagick.
set -eu

TANGO=/usr/share/icons/Tango
T32=$TANGO/32x32
TSVG=$TANGO/scalable
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT=$ROOT/src/resources/icons
SRC=$OUT/src
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

mkdir -p "$OUT/images"

# PNGs without timestamps or text chunks, so reruns give equal bytes.
OPTS="-strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt"

# Plain Tango pictures, 32x32.
copy() {  # copy TANGO_RELATIVE_PATH OUTPUT_NAME
    convert "$T32/$1" $OPTS "PNG32:$OUT/$2"
}
copy actions/document-new.png           new.png
copy actions/document-open.png          open.png
copy actions/document-save.png          Save-icon.png
copy actions/system-log-out.png         exit-icon.png
copy apps/accessories-text-editor.png   edit.png
copy actions/go-down.png                arrow-down.png
copy actions/go-up.png                  arrow-up.png
copy actions/go-previous.png            arrow-left.png
copy actions/go-next.png                arrow-right.png
copy apps/preferences-desktop-font.png  images/icon.png

# Printers in three tints (printer_r is also the window icon).
tint() {  # tint COLOUR OUTPUT_NAME
    convert "$T32/devices/printer.png" -fill "$1" -tint 100 $OPTS "PNG32:$OUT/$2"
}
tint '#3465a4' printer_b.png
tint '#4e9a06' printer_g.png
tint '#cc0000' printer_r.png

# Zoom: Tango's magnifier with a plus or minus drawn in the lens.
for z in plus:Zoom-Plus-icon.png minus:Zoom-Minus-icon.png; do
    sign=${z%%:*}; name=${z#*:}
    rsvg-convert -w 32 -h 32 "$SRC/zoom-$sign-sign.svg" -o "$TMP/$sign.png"
    convert "$T32/actions/system-search.png" "$TMP/$sign.png" -compose over -composite \
        $OPTS "PNG32:$OUT/$name"
done

# Import / export: a document with an arrow going into it / coming out of it.
# export-icon.png is the picture of the IMPORT command and import-icon.png
# the picture of the EXPORT command (the file names are historical).
convert "$T32/mimetypes/text-x-generic.png" -filter Lanczos -resize 24x24 "$TMP/doc.png"
rsvg-convert -w 18 -h 18 "$TSVG/actions/go-next.svg" -o "$TMP/arrow.png"
convert -size 32x32 xc:none \
    "$TMP/doc.png" -geometry +8+4 -compose over -composite \
    "$TMP/arrow.png" -geometry +0+13 -compose over -composite \
    $OPTS "PNG32:$OUT/export-icon.png"
convert -size 32x32 xc:none \
    "$TMP/doc.png" -geometry +0+4 -compose over -composite \
    "$TMP/arrow.png" -geometry +14+13 -compose over -composite \
    $OPTS "PNG32:$OUT/import-icon.png"

# Our own drawings.
rsvg-convert "$SRC/layer1.svg" -o "$TMP/layer1.png"
convert "$TMP/layer1.png" $OPTS "PNG32:$OUT/layer1.png"
rsvg-convert "$SRC/logo_duze.svg" -o "$TMP/logo_duze.png"
convert "$TMP/logo_duze.png" $OPTS "PNG32:$OUT/logo_duze.png"

# The desktop's icons: each SVG of data/icons/hicolor/scalable/ drawn at the
# sizes a menu, a file manager and a software centre ask for.
HICOLOR=$ROOT/data/icons/hicolor
for svg in "$HICOLOR"/scalable/*/*.svg; do
    context=$(basename "$(dirname "$svg")")
    name=$(basename "$svg" .svg)
    for size in 48 128 256; do
        mkdir -p "$HICOLOR/${size}x$size/$context"
        rsvg-convert -w $size -h $size "$svg" -o "$TMP/$name.png"
        convert "$TMP/$name.png" $OPTS "PNG32:$HICOLOR/${size}x$size/$context/$name.png"
    done
done

echo "icons written to $OUT and $HICOLOR"
