#!/bin/sh
# Draws watermark.png, the faint picture in the lower right corner of the
# main window's list: a folder with a winding path towards it. Transparent
# around the shapes, so the program lays it on the list's own background.
# Needs ImageMagick; run from any folder:  sh resources/draw_watermark.sh
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
back='#e9eff8'
front='#f1f5fb'
line='#d6e1f0'
convert -size 216x164 xc:none \
    -fill "$back" -stroke "$line" -strokewidth 2 \
    -draw "roundrectangle 62,22 124,52 9,9" \
    -draw "roundrectangle 62,36 204,150 12,12" \
    -fill "$front" \
    -draw "polygon 76,66 212,66 196,150 62,150" \
    -fill none -stroke "$line" -strokewidth 7 \
    -draw "stroke-dasharray 12 9 path 'M 6,158 C 26,110 70,150 96,112 S 120,84 140,100'" \
    -fill "$line" -stroke none \
    -draw "polygon 134,84 160,108 128,114" \
    -define png:exclude-chunks=date,time +set date:create +set date:modify -strip \
    "PNG32:$here/watermark.png"
