#!/bin/sh
# Draws the application icon sizes from packaging/icons/quorbel.svg (the drop-cap artwork of
# tools/make_letters.sh, as a scalable picture): quorbel-48.png .. quorbel-256.png beside it.
# The pictures are kept in the repository, so a build does not need this tool.
#
# Usage: tools/make_icon.sh [OUT_DIR]   (default: packaging/icons)
# Needs rsvg-convert (Debian: librsvg2-bin).
set -eu

here=$(cd "$(dirname "$0")" && pwd)
icons=$(cd "$here/../packaging/icons" && pwd)
out=${1:-"$icons"}

if ! command -v rsvg-convert >/dev/null 2>&1; then
  echo "make_icon.sh: rsvg-convert is not installed (apt-get install librsvg2-bin)" >&2
  exit 1
fi

mkdir -p "$out"
for size in 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" "$icons/quorbel.svg" -o "$out/quorbel-$size.png"
done
echo "4 icon sizes written to $out"
