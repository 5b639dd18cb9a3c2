#!/usr/bin/env bash
# Fuzzes the module's byte work natively with libFuzzer: installs what is
# missing, builds the targets (build/fuzz-native) and runs each for SECONDS
# (default 180), one target per core, with the format's dictionary; then
# again for SECONDS with inputs up to 4 MiB from the large seeds (made
# afresh: many entries, chunks and frames), each input within a time
# limit whose breach is a finding. New
# corpus entries stay in build/fuzz-work/<target>/corpus; findings (crash-*,
# leak-*, timeout-*, oom-*) are copied to fuzz/findings/<target>/ to commit,
# the smallest of each kind not kept there already.
#   Usage: scripts/fuzz.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=fuzz
source scripts/common.sh
seconds=${1:-180}
build=build/fuzz-native
work=build/fuzz-work
targets=(fuzz_cursor_parse fuzz_cursor_pipeline fuzz_cursor_pixels)
# Inputs cross 64 KiB, where the module maps a file instead of reading it.
common=(-dict=fuzz/cursor.dict -rss_limit_mb=2048 -max_total_time="$seconds" -fork=1
        -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 -print_final_stats=1)
options=("${common[@]}" -max_len=70000 -timeout=10)
# Large inputs: work on any file is linear, so 4 MiB takes milliseconds;
# an input taking seconds is a finding.
large_options=("${common[@]}" -max_len=4194304 -timeout=5)

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

for target in "${targets[@]}"; do
  mkdir -p "$work/$target/large-seeds" "$work/$target/large-corpus"
done
"$build/make_large_seeds" "$work/fuzz_cursor_parse/large-seeds" \
  "$work/fuzz_cursor_pipeline/large-seeds" >/dev/null
# Single images have no large seeds of their own: the corpus grows them.
cp fuzz/corpus/fuzz_cursor_pixels/* "$work/fuzz_cursor_pixels/large-seeds/"
for target in "${targets[@]}"; do
  say "fuzzing $target with inputs up to 4 MiB for $seconds s (log: $work/$target/large-log)"
  "$build/$target" "${large_options[@]}" -artifact_prefix="$work/$target/artifacts/" \
    "$work/$target/large-corpus" "$work/$target/large-seeds" >"$work/$target/large-log" 2>&1 &
done
wait || true

# What a finding breaks: the sanitizer's summary (kind and place), and for an
# abort the line of the target that called it.
signature() {
  local output
  output=$("$build/$1" -rss_limit_mb=2048 -timeout=10 "$2" 2>&1 || true)
  printf '%s %s' "$(grep -m1 '^SUMMARY:' <<<"$output" | sed -E 's/^SUMMARY: //; s/ in .*//')" \
    "$(grep -m1 -o 'LLVMFuzzerTestOneInput [^ ]*' <<<"$output" | sed 's/.*\///')"
}

# The runs a log counted last.
last_run() { grep -o '^#[0-9]*' "$1" | tail -1 | tr -dc '0-9'; }

say "figures"
shopt -s nullglob
printf '| target | seconds | runs (small + large inputs) | corpus in work folder | findings | new kinds kept |\n'
printf '|---|---|---|---|---|---|\n'
for target in "${targets[@]}"; do
  # One finding per kind, the smallest, and none of a kind already kept.
  declare -A kept=()
  for file in "fuzz/findings/$target"/*; do
    kept["$(signature "$target" "$file")"]=1
  done
  findings=("$work/$target"/artifacts/{crash,leak,timeout,oom}-*)
  new=0
  # Smallest first; with no findings there is nothing to list (a bare ls
  # would list the current folder).
  sorted=()
  [ "${#findings[@]}" -gt 0 ] && mapfile -t sorted < <(ls -Sr "${findings[@]}")
  for file in "${sorted[@]}"; do
    kind=$(signature "$target" "$file")
    [ -n "${kept[$kind]:-}" ] && continue
    kept["$kind"]=1
    mkdir -p "fuzz/findings/$target"
    cp "$file" "fuzz/findings/$target/"
    new=$((new + 1))
    echo "  new in $target: $(basename "$file"): $kind" >&2
  done
  unset kept
  runs="$(last_run "$work/$target/log") + $(last_run "$work/$target/large-log")"
  corpus=$(find "$work/$target/corpus" -type f | wc -l)
  printf '| %s | %s | %s | %s | %s | %s |\n' "$target" "$seconds" "${runs:-?}" "$corpus" \
    "${#findings[@]}" "$new"
done
say "new kinds of findings, if any, are in fuzz/findings/<target>/ (commit them)"
