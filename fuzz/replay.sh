#!/usr/bin/env bash
# Replays the committed corpus, every past finding and the large seeds
# (made afresh, 64 KiB to 2 MiB) once through each fuzz target (libFuzzer
# runs files given as arguments once each, in one process): fails when any
# input crashes, leaks, breaks a target's invariants or takes longer than its
# time limit.
#   fuzz/replay.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
TIME_LIMIT=5  # seconds an input may take, sanitizers included
bash fuzz/build.sh "$build"
large=$build/large-seeds
rm -rf "$large"
mkdir -p "$large/fuzz_cursor_parse" "$large/fuzz_cursor_pipeline"
"$build/make_large_seeds" "$large/fuzz_cursor_parse" "$large/fuzz_cursor_pipeline" >/dev/null
shopt -s nullglob
failed=()
for target in fuzz_cursor_parse fuzz_cursor_pipeline fuzz_cursor_pixels; do
  inputs=(fuzz/corpus/$target/* fuzz/findings/$target/* "$large/$target"/*)
  [ ${#inputs[@]} -gt 0 ] || { echo "replay: no inputs for $target" >&2; exit 1; }
  log=$build/$target.replay.log
  # All inputs in one run; only when that fails, one run per input, so that
  # every failing input is named.
  if ! "$build/$target" -rss_limit_mb=2048 -timeout=$TIME_LIMIT "${inputs[@]}" >"$log" 2>&1; then
    : >"$log"
    for input in "${inputs[@]}"; do
      if ! "$build/$target" -rss_limit_mb=2048 -timeout=$TIME_LIMIT "$input" >>"$log" 2>&1; then
        failed+=("$target $input")
        grep '^SUMMARY:' "$log" | tail -1
      fi
    done
  fi
  echo "replay: $target: ${#inputs[@]} inputs"
done
if [ ${#failed[@]} -gt 0 ]; then
  printf 'replay: failed: %s\n' "${failed[@]}" >&2
  exit 1
fi
echo "replay: no input failed"
