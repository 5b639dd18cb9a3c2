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
failed=()
for target in fuzz_cursor_check fuzz_animated_copy; do
  inputs=(fuzz/corpus/$target/* fuzz/findings/$target/*)
  [ ${#inputs[@]} -gt 0 ] || { echo "replay: no inputs for $target" >&2; exit 1; }
  log=$build/$target.replay.log
  # One run per input, so that every failing input is named.
  : >"$log"
  for input in "${inputs[@]}"; do
    if ! "$build/$target" -rss_limit_mb=2048 "$input" >>"$log" 2>&1; then
      failed+=("$target $input")
      grep '^SUMMARY:' "$log" | tail -1
    fi
  done
  echo "replay: $target: ${#inputs[@]} inputs"
done
if [ ${#failed[@]} -gt 0 ]; then
  printf 'replay: failed: %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "replay: no input failed"
