#!/usr/bin/env bash
# Fuzzes the module's byte work natively with libFuzzer: installs what is
# missing, builds the targets (build/fuzz-native) and runs each for SECONDS
# (default 180), one target per core, with the format's dictionary. New
# corpus entries stay in build/fuzz-work/<target>/corpus; findings (crash-*,
# leak-*, timeout-*, oom-*) are copied to fuzz/findings/<target>/ to commit.
#   Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=fuzz
source scripts/common.sh
seconds=${1:-180}
build=build/fuzz-native
work=build/fuzz-work
targets=(fuzz_cursor_check fuzz_animated_copy)
# Inputs cross 64 KiB, where the module maps a file instead of reading it.
options=(-dict=fuzz/cursor.dict -max_len=70000 -rss_limit_mb=2048 -timeout=10
         -max_total_time="$seconds" -fork=1 -ignore_crashes=1 -ignore_ooms=1
         -ignore_timeouts=1 -print_final_stats=1)

say "checking the build machine"
bash scripts/setup.sh || fail "setting up the machine failed"
say "building the fuzz targets ($build)"
bash fuzz/build.sh "$build" || fail "building the fuzz targets failed"

for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/artifacts"
  say "fuzzing $target for $seconds s (log: $work/$target/log)"
  "$build/$target" "${options[@]}" -artifact_prefix="$work/$target/artifacts/" \
    "$work/$target/corpus" "fuzz/corpus/$target" >"$work/$target/log" 2>&1 &
done
wait || true

say "figures"
shopt -s nullglob
printf '| target | seconds | runs | corpus in work folder | findings |\n|---|---|---|---|---|\n'
for target in "${targets[@]}"; do
  findings=("$work/$target"/artifacts/{crash,leak,timeout,oom}-*)
  if [ ${#findings[@]} -gt 0 ]; then
    mkdir -p "fuzz/findings/$target"
    cp "${findings[@]}" "fuzz/findings/$target/"
  fi
  runs=$(grep -o '^#[0-9]*' "$work/$target/log" | tail -1 | tr -dc '0-9')
  corpus=$(find "$work/$target/corpus" -type f | wc -l)
  printf '| %s | %s | %s | %s | %s |\n' "$target" "$seconds" "${runs:-?}" "$corpus" "${#findings[@]}"
done
say "findings, if any, are in fuzz/findings/<target>/ (commit them)"
