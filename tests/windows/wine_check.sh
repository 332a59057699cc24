#!/bin/sh
# The Windows quorbel-cli under wine against the Linux one: the same stories (JSON on standard
# output, CR LF line ends aside) and the same saved files, byte for byte; Windows file names
# (drive letters, backslashes, Cyrillic folders, any case) and a save over an existing file.
#   sh tests/windows/wine_check.sh LINUX_CLI WINDOWS_CLI DATA_DIR WORK_DIR
# WINE (default wine) and WINEPREFIX (default WORK_DIR/wineprefix) may be set.
set -eu
[ $# -eq 4 ] || { echo "usage: $0 LINUX_CLI WINDOWS_CLI DATA_DIR WORK_DIR" >&2; exit 2; }
linux=$(realpath "$1") windows=$(realpath "$2") data=$(realpath "$3") work=$4
: "${WINE:=wine}" "${WINEPREFIX:=$work/wineprefix}" "${SEEDS:=50}"
# No debug chatter, no offer to install .NET or a browser engine, UTF-8 names to and from wine.
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=' LC_ALL=C.UTF-8

rm -rf "$work/linux" "$work/windows" "$work/Материал"
mkdir -p "$work/linux" "$work/windows"
work=$(realpath "$work")
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# wine maps drive Z: to /.
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
# The Linux text with every LF as CR LF, as the Windows program writes its standard output.
same_text() { sed 's/$/\r/' "$1" | cmp -s - "$2"; }
same_story() {  # what: Linux stdout, Windows stdout, Linux save, Windows save
  same_text "$2" "$3" || fail "$1: standard output differs ($2, $3)"
  cmp -s "$4" "$5" || fail "$1: saved file differs ($4, $5)"
}

start=$(date +%s)
n=1
while [ "$n" -le "$SEEDS" ]; do
  play=solver; [ $((n % 2)) -eq 0 ] && play=random
  (cd "$data" && "$linux" --seed "$n" --play "$play" --json --save "$work/linux/$n.txt") > "$work/linux/$n.json"
  (cd "$data" && "$WINE" "$windows" --seed "$n" --play "$play" --json \
     --save "$(winpath "$work/windows/$n.txt")") > "$work/windows/$n.json" ||
    fail "seed $n: the Windows program failed"
  grep -q '"lines"' "$work/linux/$n.json" || fail "seed $n: no story from the Linux program"
  same_story "seed $n" "$work/linux/$n.json" "$work/windows/$n.json" "$work/linux/$n.txt" "$work/windows/$n.txt"
  n=$((n + 1))
done
echo "$SEEDS seeds compared in $(($(date +%s) - start)) s"

# Drive letter and backslashes in --data, a relative save with a backslash, from another folder.
(cd "$data" && "$linux" --seed 42 --play solver --save "$work/linux/42.txt") > "$work/linux/42.out"
(cd "$work" && "$WINE" "$windows" --seed 42 --play solver --data "$(winpath "$data")" \
   --save 'windows\42.txt') > "$work/windows/42.out" || fail "backslash paths: the program failed"
same_story "backslash paths" "$work/linux/42.out" "$work/windows/42.out" "$work/linux/42.txt" "$work/windows/42.txt"

# A material folder with a Cyrillic name, given in another case, and a save into it.
cp -R "$data" "$work/Материал"
(cd "$work" && "$WINE" "$windows" --seed 7 --play solver --data 'Z:\'"$(printf %s "$work" | tr / '\\')"'\МАТЕРИАЛ' \
   --save 'Материал\Рассказ 7.txt') > "$work/windows/7.out" || fail "Cyrillic folder: the program failed"
(cd "$data" && "$linux" --seed 7 --play solver --save "$work/linux/7.txt") > "$work/linux/7.out"
same_story "Cyrillic folder" "$work/linux/7.out" "$work/windows/7.out" "$work/linux/7.txt" "$work/Материал/Рассказ 7.txt"

# A save over an existing file, named in another case: the one file is replaced.
(cd "$work" && "$WINE" "$windows" --seed 2 --play random --data "$(winpath "$data")" --save 'windows\1.TXT') > /dev/null ||
  fail "save over a file: the program failed"
cmp -s "$work/linux/2.txt" "$work/windows/1.txt" || fail "save over a file: windows/1.txt is not the new story"
[ "$(ls "$work/windows" | grep -ci '^1\.txt$')" -eq 1 ] || fail "save over a file: a second file beside it"
[ -z "$(ls -a "$work/windows" | grep -i -e 'tmp' -e 'quorbel-')" ] || fail "save over a file: a temporary file left behind"

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed" >&2
  exit 1
fi
echo "all Windows checks passed"
