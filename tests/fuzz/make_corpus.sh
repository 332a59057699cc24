#!/bin/sh
# Seed corpus for the fuzz targets, from the test fixtures: OUT/story and OUT/check hold each
# file of the story fixture behind the byte that chooses it (files in byte order of their
# names, as the targets list them); OUT/settings the settings files; OUT/phrases the phrase files.
set -eu
src=$(cd "$(dirname "$0")/../fixtures" && pwd)
out=$1
mkdir -p "$out/story" "$out/check" "$out/settings" "$out/phrases"
i=0
for f in $(cd "$src/story" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); do
  { printf "\\$(printf %03o "$i")"; cat "$src/story/$f"; } > "$out/story/$i"
  cp "$out/story/$i" "$out/check/$i"
  i=$((i + 1))
done
n=0
for f in $(find "$src" -name '*.cfg' | LC_ALL=C sort); do
  cp "$f" "$out/settings/$n"
  n=$((n + 1))
done
n=0
for f in $({ find "$src/phrases" -name '*.qrb'
  find "$src/story/det" "$src/check" \( -name 'p_*.qrb' -o -name 'm_*.qrb' -o -name 'n_*.qrb' -o -name 'f_*.qrb' \)
} | LC_ALL=C sort); do
  cp "$f" "$out/phrases/$n"
  n=$((n + 1))
done
