#!/usr/bin/env bash
# Replays the committed corpus and every past finding once through each
# fuzz target (libFuzzer runs files given as arguments once each): fails
# when any input crashes, leaks or breaks a target's invariants.
#   fuzz/replay.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
bash fuzz/build.sh "$build"
shopt -s nullglob
for target in fuzz_cursor_check fuzz_animated_copy; do
  inputs=(fuzz/corpus/$target/* fuzz/findings/$target/*)
  [ ${#inputs[@]} -gt 0 ] || { echo "replay: no inputs for $target" >&2; exit 1; }
  if ! "$build/$target" -rss_limit_mb=2048 "${inputs[@]}" >"$build/$target.replay.log" 2>&1; then
    tail -40 "$build/$target.replay.log"
    echo "replay: $target failed on an input (log: $build/$target.replay.log)" >&2
    exit 1
  fi
  echo "replay: $target: ${#inputs[@]} inputs, none failed"
done
