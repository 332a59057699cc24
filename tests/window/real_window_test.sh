#!/bin/sh
# The story window under a real X server (Xvfb), driven by the keyboard as a reader drives it:
# a guess and OK change the page, PageDown changes it again, and after a finished story Space
# neither leaves the story nor writes qrb.txt.
#   tests/window/real_window_test.sh QUORBEL_BINARY MATERIAL_DIR
# Exits 77 (skipped) when xvfb-run, xdotool or ImageMagick is not installed.
set -eu
quorbel=$1
material=$2

for tool in xvfb-run xauth xdotool import compare convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "real_window_test: skipped: $tool is not installed (apt-get install xvfb xauth xdotool imagemagick)"
    exit 77
  fi
done
[ -x "$quorbel" ] || { echo "real_window_test: $quorbel is not built" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$material"/. "$work"/
rm -f "$work/qrb.txt"

exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" sh -s "$quorbel" "$work" <<'INNER'
set -eu
quorbel=$1 work=$2
shots=$work/shots
mkdir -p "$shots"
fail() { echo "real_window_test: FAIL: $*" >&2; kill "$pid" 2>/dev/null || true; exit 1; }

env -u QT_QPA_PLATFORM "$quorbel" --data "$work" >"$work/out.log" 2>&1 &
pid=$!
win=$(timeout 30 xdotool search --sync --name 'Составитель рассказов' | head -n 1) || true
[ -n "$win" ] || fail "the window did not appear: $(cat "$work/out.log")"
xdotool windowfocus --sync "$win" 2>/dev/null || true

# The left part of the window: the title and the page. (Called in subshells: each shot gets a
# file of its own.)
shot() {
  f=$(mktemp -p "$shots" shotXXXXXX)
  import -window "$win" "png:$f.full" 2>/dev/null
  convert "png:$f.full" -crop 520x600+0+0 +repage "png:$f"
  echo "$f"
}
same() { compare -metric AE "png:$1" "png:$2" null: >/dev/null 2>&1; }
# Waits until two shots a moment apart agree, and prints the last.
settle() {
  prev=$(shot)
  for _ in $(seq 1 40); do
    sleep 0.3
    cur=$(shot)
    if same "$prev" "$cur"; then echo "$cur"; return 0; fi
    prev=$cur
  done
  fail "the window did not settle"
}
# The page is up once a patch of text rows is mostly white where the cover is dark. A patch, not
# one pixel: the story is random, and a single pixel may fall on a letter.
page_up() {
  p=$(convert "png:$(shot)" -crop 80x40+260+280 +repage -format '%[fx:int(255*mean)]' info:)
  [ "$p" -gt 160 ]
}
keys() { for k in "$@"; do xdotool key --clearmodifiers "$k"; sleep 0.15; done; }

for _ in $(seq 1 100); do page_up && break; sleep 0.3; done
page_up || fail "the first story did not appear on the page"
before=$(settle)

keys 1 2 3 4 Return
after_ok=$(settle)
same "$before" "$after_ok" && fail "the page did not change after a guess and OK"

keys Page_Down
after_page=$(settle)
same "$after_ok" "$after_page" && fail "the page did not change after PageDown"

# Seven more guesses end the story whatever the code.
for g in "5 6 7 8" "9 0 1 2" "3 4 5 6" "7 8 9 0" "2 4 6 8" "1 3 5 7" "0 2 4 6"; do
  # shellcheck disable=SC2086
  keys $g Return
  settle >/dev/null
done
keys End
finished=$(settle)
keys space space
sleep 1
after_space=$(settle)
same "$finished" "$after_space" || fail "Space after the end of a finished story changed the window"
[ -e "$work/qrb.txt" ] && fail "Space after the end of a finished story wrote qrb.txt"
kill "$pid" 2>/dev/null || true
echo "real_window_test: the page follows OK and PageDown; Space leaves a finished story as it was"
INNER
