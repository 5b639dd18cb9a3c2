#!/usr/bin/env bash
# The differential run (not a test): installs what is missing, builds, then
# under Wine draws COUNT (default 5000) varied cursor files that the module
# parses and plans, adds the accepted inputs of the last fuzzing run's corpus
# (build/fuzz-work, when there), and loads each through the module's load path
# at 0, 1.5, 2.0 and 2.25 (each cursor compared pixel for pixel with the
# module's own plan and emitted resource) and through the bare system loader
# at 0x0 and 64x64, three rounds, in child processes. Prints a figures table (kept in
# build/differential/latest.md) and the findings, copied into
# build/differential/findings/.
#   Usage: scripts/differential.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=differential
source scripts/common.sh
count=${1:-5000}
prepare_build
out=build/differential
rm -rf "$out"
mkdir -p "$out"
corpora=()
# A target's own leading bytes before the file: see fuzz/fuzz_cursor_pipeline.cpp.
for entry in "fuzz_cursor_parse 0" "fuzz_cursor_pipeline 2"; do
  read -r target skip <<<"$entry"
  folder=build/fuzz-work/$target/corpus
  [ -d "$folder" ] && corpora+=(--corpus "Z:$(pwd)/$folder" "$skip")
done
say "differential run: $count drawn files${corpora:+ and the fuzz corpora}"
scripts/wine_session.sh build wine build/bench/quillmere_differential.exe \
  --out "Z:$(pwd)/$out" --count "$count" "${corpora[@]}" | tee "$out/latest.md" \
  || fail "the differential run failed"
