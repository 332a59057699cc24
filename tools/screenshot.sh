#!/bin/sh
# Renders the story window in the middle of a story to a PNG, on a virtual X display.
#   tools/screenshot.sh [BUILD_DIR] [DATA_DIR] [OUT.png]
# Needs xvfb, xauth, xdotool and imagemagick (apt-get install xvfb xauth xdotool imagemagick).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
data=${2:-$here/data}
out=${3:-$here/docs/window.png}
case $out in /*) ;; *) out=$(pwd)/$out ;; esac

[ -x "$build/quorbel" ] || { echo "screenshot: $build/quorbel not built" >&2; exit 1; }
[ -f "$data/styles.qrb" ] || { echo "screenshot: no story material in $data" >&2; exit 1; }
mkdir -p "$(dirname "$out")"

# The settings file is the reader's; the story is played in a copy of the material.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$data"/. "$work"/

exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" sh -s "$build/quorbel" "$work" "$out" <<'INNER'
set -eu
quorbel=$1 work=$2 out=$3
env -u QT_QPA_PLATFORM "$quorbel" --data "$work" &
pid=$!
win=$(timeout 30 xdotool search --sync --name 'Составитель рассказов' | head -n 1) || true
[ -n "$win" ] || { echo "screenshot: the window did not appear" >&2; kill $pid; exit 1; }
xdotool windowfocus --sync "$win" 2>/dev/null || true
# The first story is on the page once a patch of it is mostly white where the cover is dark
# (a patch, since one pixel may fall on a letter of a random story).
shown=
for _ in $(seq 1 100); do
  import -window "$win" "png:$out.tmp" 2>/dev/null
  shown=$(convert "png:$out.tmp" -crop 80x40+260+280 +repage -format '%[fx:int(255*mean)]' info:)
  [ "${shown:-0}" -gt 160 ] && break
  sleep 0.3
done
rm -f "$out.tmp"
[ "${shown:-0}" -gt 160 ] || { echo "screenshot: no story on the page (mean $shown)" >&2; kill $pid; exit 1; }
# Two guesses confirmed (the page opens on the second turn's text, marked in the margin) and a
# third half spelled.
for keys in "1 2 3 4 Return" "5 6 7 8 Return" "9 0"; do
  for k in $keys; do xdotool key --clearmodifiers "$k"; sleep 0.3; done
  sleep 1.5
done
import -window "$win" "$out"
kill $pid
echo "screenshot: $out"
INNER
