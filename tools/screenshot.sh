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
"$quorbel" --data "$work" &
pid=$!
win=
for _ in $(seq 1 50); do
  win=$(xdotool search --name 'Составитель рассказов' 2>/dev/null | head -n 1) && [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || { echo "screenshot: the window did not appear" >&2; kill $pid; exit 1; }
sleep 2   # the first story is built a second after the window opens
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus --sync "$win"
# Two guesses confirmed and a third half spelled.
for keys in "1 2 3 4 Return" "5 6 7 8 Return" "9 0"; do
  for k in $keys; do xdotool key --window "$win" "$k"; sleep 0.3; done
  sleep 1
done
sleep 0.5
import -window "$win" "$out"
kill $pid
echo "screenshot: $out"
INNER
