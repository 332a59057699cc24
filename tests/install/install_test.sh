#!/bin/sh
# The install: the desktop files are valid, and the installed programs find their material from
# any folder, also after the install was moved, telling the same story as in the material folder.
# Usage: install_test.sh BUILD_DIR SOURCE_DIR
set -eu
build=$1
src=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install "$build" --prefix "$tmp/p" >/dev/null
p=$tmp/p
desktop-file-validate "$p/share/applications/org.quorbel.Quorbel.desktop"
appstreamcli validate --no-net "$p/share/metainfo/org.quorbel.Quorbel.metainfo.xml"
for f in bin/quorbel-cli share/quorbel/styles.qrb share/man/man1/quorbel-cli.1 \
         share/icons/hicolor/scalable/apps/org.quorbel.Quorbel.svg \
         share/icons/hicolor/48x48/apps/org.quorbel.Quorbel.png share/icons/hicolor/256x256/apps/org.quorbel.Quorbel.png; do
  test -f "$p/$f" || { echo "not installed: $f"; exit 1; }
done

mkdir "$tmp/elsewhere" "$tmp/config" "$tmp/home"
(cd "$src/data" && "$build/quorbel-cli" --seed 1 --play solver) >"$tmp/here.txt"
test -s "$tmp/here.txt"
story() {
  (cd "$tmp/elsewhere" && HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config "$1/bin/quorbel-cli" --seed 1 --play solver)
}
story "$p" >"$tmp/installed.txt"
cmp "$tmp/here.txt" "$tmp/installed.txt"

if [ -x "$p/bin/quorbel" ]; then
  # Still running after the first story was built, and nothing said about its material.
  mkdir -m 700 "$tmp/run"
  rc=0
  (cd "$tmp/elsewhere" && QT_QPA_PLATFORM=offscreen HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config \
    XDG_RUNTIME_DIR=$tmp/run timeout 4 "$p/bin/quorbel" 2>"$tmp/window.err") || rc=$?
  if [ "$rc" -ne 124 ] || grep -q '^quorbel:' "$tmp/window.err"; then
    echo "the installed window stopped with status $rc:"
    cat "$tmp/window.err"
    exit 1
  fi
fi
test -z "$(ls -A "$tmp/elsewhere")" || { echo "files written to the current folder:"; ls -A "$tmp/elsewhere"; exit 1; }

mv "$p" "$tmp/moved"
story "$tmp/moved" >"$tmp/moved.txt"
cmp "$tmp/here.txt" "$tmp/moved.txt"

# Nothing to find: one line that says where it looked, status 1.
mkdir -p "$tmp/bare/bin"
cp "$build/quorbel-cli" "$tmp/bare/bin/"
rc=0
(cd "$tmp/elsewhere" && "$tmp/bare/bin/quorbel-cli" --seed 1) 2>"$tmp/none.err" || rc=$?
test "$rc" -eq 1
expected="quorbel-cli: no story material (styles.qrb) in $tmp/elsewhere, $tmp/bare/share/quorbel; give its folder with --data DIR"
test "$(cat "$tmp/none.err")" = "$expected" || { echo "got: $(cat "$tmp/none.err")"; exit 1; }
echo "install test passed"
