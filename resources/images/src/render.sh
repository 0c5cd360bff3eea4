#!/bin/sh
# Renders every PNG (and the .ico) under resources/images from the SVG sources
# in this directory. Run by hand after editing an SVG; the outputs are committed.
# Needs: rsvg-convert (librsvg2-bin) and ImageMagick's convert.
#
# Player glyphs (player/*.svg) are drawn in the dark colour #1e1e1e; the
# NAME_hover.png variant is the same glyph recoloured to white.
set -eu

SRC=$(cd "$(dirname "$0")" && pwd)
OUT=$(dirname "$SRC")
DARK='#1e1e1e'
HOVER='#ffffff'
TMP=$(mktemp -d)
trap 'rm -rf "$TMP"' EXIT

render() { # svg png width height
    rsvg-convert --format=png --width="$3" --height="$4" \
        --output="$2" "$1"
}

mkdir -p "$OUT/default/player" "$OUT/app"

for svg in "$SRC"/player/*.svg; do
    name=$(basename "$svg" .svg)
    render "$svg" "$OUT/default/player/${name}_black.png" 32 32
    sed "s/$DARK/$HOVER/g" "$svg" > "$TMP/$name.svg"
    render "$TMP/$name.svg" "$OUT/default/player/${name}_hover.png" 32 32
done
render "$SRC/grip.svg" "$OUT/default/player/grip_black.png" 12 12

for name in close_black minimize_black pin_black; do
    render "$SRC/app/$name.svg" "$OUT/app/$name.png" 24 24
done
for name in error information question warning; do
    render "$SRC/app/$name.svg" "$OUT/app/$name.png" 48 48
done

render "$SRC/PlayerIcon.svg" "$OUT/PlayerIcon64x64.png" 64 64
render "$SRC/PlayerIconBlack.svg" "$OUT/PlayerIcon64x64black.png" 64 64

for size in 16 32 48 64; do
    render "$SRC/PlayerIcon.svg" "$TMP/icon$size.png" "$size" "$size"
done
convert "$TMP/icon16.png" "$TMP/icon32.png" "$TMP/icon48.png" "$TMP/icon64.png" \
    "$OUT/PlayerIcon.ico"

# Desktop icon theme sizes, installed under share/icons/hicolor (the SVG itself
# is installed as the scalable size).
for size in 16 24 32 48 64 128 256; do
    mkdir -p "$OUT/hicolor/${size}x${size}"
    render "$SRC/PlayerIcon.svg" "$OUT/hicolor/${size}x${size}/player-tarn.png" "$size" "$size"
done

# Force 8-bit RGBA everywhere (fully opaque-looking files still keep alpha).
for png in "$OUT"/*.png "$OUT"/app/*.png "$OUT"/default/player/*.png "$OUT"/hicolor/*/*.png; do
    convert "$png" "PNG32:$png"
done
echo "rendered into $OUT"
