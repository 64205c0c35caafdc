#!/bin/sh
# Regenerate the PNG icons in src/resources/icons/, each at 32 px and at 64 px
# (NAME@2x.png, for screens of scale factor 2), from the Tango icon theme
# (Debian package tango-icon-theme, public domain) and from our own SVG
# drawings in src/resources/icons/src/, and the PNG sizes of the desktop icons
# (application and project file) in data/icons/hicolor/ from their SVGs there.
# Needs: tango-icon-theme, librsvg2-bin (rsvg-convert), imagemagick. The PNGs
# are committed, so only whoever changes an icon needs these.
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

# Every picture of the tool bars and menus at two sizes: NAME.png (32 px) and
# NAME@2x.png (64 px), drawn on screens of scale factor 2 (src/system/pictures
# puts both into every icon).
# The 32 px pictures are Tango's own 32x32 PNGs; the 64 px ones are drawn
# from Tango's scalable SVGs (and ours), never enlarged from 32 px.

# tango_png TANGO_RELATIVE_PATH SCALE OUTPUT_FILE: a Tango picture, 32 px
# times SCALE.
tango_png() {
    if [ "$2" = 1 ]; then
        cp "$T32/$1.png" "$3"
    else
        rsvg-convert -w $((32 * $2)) -h $((32 * $2)) "$TSVG/$1.svg" -o "$3"
    fi
}

for scale in 1 2; do
    px=$((32 * scale))
    if [ $scale = 1 ]; then at=; else at=@${scale}x; fi

    # Plain Tango pictures.
    for entry in \
        actions/document-new:new \
        actions/document-open:open \
        actions/document-save:Save-icon \
        actions/system-log-out:exit-icon \
        apps/accessories-text-editor:edit \
        actions/go-down:arrow-down \
        actions/go-up:arrow-up \
        actions/go-previous:arrow-left \
        actions/go-next:arrow-right \
        apps/preferences-desktop-font:images/icon
    do
        tango_png "${entry%%:*}" $scale "$TMP/plain.png"
        convert "$TMP/plain.png" $OPTS "PNG32:$OUT/${entry#*:}$at.png"
    done

    # Printers in three tints (printer_r is also the dialogs' window icon).
    tango_png devices/printer $scale "$TMP/printer.png"
    for entry in '#3465a4:printer_b' '#4e9a06:printer_g' '#cc0000:printer_r'; do
        convert "$TMP/printer.png" -fill "${entry%%:*}" -tint 100 $OPTS "PNG32:$OUT/${entry#*:}$at.png"
    done

    # Zoom: Tango's magnifier with a plus or minus drawn in the lens.
    tango_png actions/system-search $scale "$TMP/search.png"
    for z in plus:Zoom-Plus-icon minus:Zoom-Minus-icon; do
        sign=${z%%:*}; name=${z#*:}
        rsvg-convert -w $px -h $px "$SRC/zoom-$sign-sign.svg" -o "$TMP/$sign.png"
        convert "$TMP/search.png" "$TMP/$sign.png" -compose over -composite \
            $OPTS "PNG32:$OUT/$name$at.png"
    done

    # Import / export: a document with an arrow going into it / coming out of
    # it. export-icon is the picture of the IMPORT command and import-icon the
    # picture of the EXPORT command (the file names are historical).
    if [ $scale = 1 ]; then
        convert "$T32/mimetypes/text-x-generic.png" -filter Lanczos -resize 24x24 "$TMP/doc.png"
    else
        rsvg-convert -w $((24 * scale)) -h $((24 * scale)) "$TSVG/mimetypes/text-x-generic.svg" -o "$TMP/doc.png"
    fi
    rsvg-convert -w $((18 * scale)) -h $((18 * scale)) "$TSVG/actions/go-next.svg" -o "$TMP/arrow.png"
    convert -size ${px}x$px xc:none \
        "$TMP/doc.png" -geometry +$((8 * scale))+$((4 * scale)) -compose over -composite \
        "$TMP/arrow.png" -geometry +0+$((13 * scale)) -compose over -composite \
        $OPTS "PNG32:$OUT/export-icon$at.png"
    convert -size ${px}x$px xc:none \
        "$TMP/doc.png" -geometry +0+$((4 * scale)) -compose over -composite \
        "$TMP/arrow.png" -geometry +$((14 * scale))+$((13 * scale)) -compose over -composite \
        $OPTS "PNG32:$OUT/import-icon$at.png"

    # Our own drawings, at their own size times the scale.
    for name in layer1 logo_duze; do
        rsvg-convert -z $scale "$SRC/$name.svg" -o "$TMP/$name.png"
        convert "$TMP/$name.png" $OPTS "PNG32:$OUT/$name$at.png"
    done
done

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
