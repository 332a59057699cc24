#!/bin/sh
# Draws the drop-cap pictures Letters/N.gif, N being the letter's place in the Russian alphabet:
# a dark red serif capital with a shadow on a light hatched ground inside a double frame with
# corner diamonds, 69 x 78 pixels (the 1040 x 1170 twip box at 96 dpi).
#
# Usage: tools/make_letters.sh [OUT_DIR]   (default: material/Letters beside this script's folder)
# Needs ImageMagick and a serif font with Cyrillic (Debian: imagemagick, fonts-urw-base35 or
# fonts-dejavu-core). Then run quorbel-material to copy the pictures into data/.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
out=${1:-"$here/../material/Letters"}

if command -v magick >/dev/null 2>&1; then
  im="magick"
elif command -v convert >/dev/null 2>&1; then
  im="convert"
else
  echo "make_letters.sh: ImageMagick is not installed (apt-get install imagemagick)" >&2
  exit 1
fi

font=""
for f in /usr/share/fonts/opentype/urw-base35/P052-Bold.otf \
         /usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf; do
  if [ -f "$f" ]; then font=$f; break; fi
done
if [ -z "$font" ]; then
  echo "make_letters.sh: no serif font with Cyrillic found (apt-get install fonts-urw-base35)" >&2
  exit 1
fi

mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Drawn four times larger and scaled down at the end, so thin lines come out smooth.
s=4
w=$((69 * s))
h=$((78 * s))
ground='#f4ead2'
hatch='#e9dcbc'
ink='#6e1212'
letter='#9a1c1c'
outline='#4a0d0d'

# A small diamond at x,y with half-diagonal r.
diamond() {
  echo "translate $1,$2 rotate 45 rectangle -$3,-$3 $3,$3"
}

# The frame is the same for every letter.
$im -size ${w}x${h} xc:"$ground" \
  \( -size ${w}x${h} pattern:hs_diagcross -fill "$hatch" -opaque black -fill "$ground" -opaque white \) \
  -compose over -composite \
  -fill none -stroke "$ink" -strokewidth $((2 * s)) \
  -draw "rectangle $((2 * s)),$((2 * s)) $((w - 2 * s - 1)),$((h - 2 * s - 1))" \
  -strokewidth $((s / 2)) \
  -draw "rectangle $((5 * s)),$((5 * s)) $((w - 5 * s - 1)),$((h - 5 * s - 1))" \
  -fill "$ink" -stroke none \
  -draw "$(diamond $((5 * s)) $((5 * s)) $((2 * s)))" \
  -draw "$(diamond $((w - 5 * s)) $((5 * s)) $((2 * s)))" \
  -draw "$(diamond $((5 * s)) $((h - 5 * s)) $((2 * s)))" \
  -draw "$(diamond $((w - 5 * s)) $((h - 5 * s)) $((2 * s)))" \
  -draw "$(diamond $((w / 2)) $((5 * s)) $s)" \
  -draw "$(diamond $((w / 2)) $((h - 5 * s)) $s)" \
  -draw "$(diamond $((5 * s)) $((h / 2)) $s)" \
  -draw "$(diamond $((w - 5 * s)) $((h / 2)) $s)" \
  "$work/frame.png"

# The 29 capitals that have a picture, with their places in the alphabet.
for pair in А:1 Б:2 В:3 Г:4 Д:5 Е:6 Ё:7 Ж:8 З:9 И:10 К:12 Л:13 М:14 Н:15 О:16 П:17 Р:18 С:19 Т:20 \
            У:21 Ф:22 Х:23 Ц:24 Ч:25 Ш:26 Щ:27 Э:31 Ю:32 Я:33; do
  l=${pair%%:*}
  n=${pair##*:}
  # One size for all letters; only the widest ones are shrunk to stay inside the frame.
  $im -background none -font "$font" -pointsize 230 -fill "$letter" -stroke "$outline" -strokewidth 6 \
    label:"$l" -trim +repage -resize "$((54 * s))x$((60 * s))>" "$work/glyph.png"
  $im "$work/glyph.png" -fill '#2a0606' -colorize 100 -channel A -evaluate multiply 0.55 +channel \
    "$work/shadow.png"
  $im "$work/frame.png" -gravity center \
    "$work/shadow.png" -geometry +$((s + s / 2))+$((s + s / 2)) -compose over -composite \
    "$work/glyph.png" -geometry +0+0 -compose over -composite \
    -resize 69x78\! -colors 64 -strip "$out/$n.gif"
done
echo "29 letters written to $out"
