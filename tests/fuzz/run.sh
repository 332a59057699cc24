#!/bin/sh
# Bounded runs of the fuzz targets: run.sh BUILD_DIR SECONDS [story check settings phrases].
# The corpus grows in BUILD_DIR/fuzz-corpus; a crash, leak, hang or sanitizer report leaves its
# input in BUILD_DIR/fuzz-findings/TARGET/ and fails the run.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1
seconds=$2
shift 2
targets=${*:-story check settings phrases}
corpus=$build/fuzz-corpus
[ -d "$corpus" ] || sh "$here/make_corpus.sh" "$corpus"
for t in $targets; do
  findings=$build/fuzz-findings/$t
  mkdir -p "$findings"
  log=$findings/last-run.log
  if ! "$build/tests/fuzz/quorbel_fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
      -dict="$here/quorbel.dict" -artifact_prefix="$findings/" -print_final_stats=1 "$corpus/$t" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz target $t failed; the input is in $findings/"
    exit 1
  fi
  echo "fuzz $t: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
done
