#!/usr/bin/env bash
# Rewrites the committed seed corpus: the default cursors, and the varied
# files make_seeds writes from a fixed seed. Targets whose input starts with
# the two bytes choosing the scale and the budget get 0, 0 before each default.
#   fuzz/make_corpus.sh BUILD_DIR   (the fuzz build, with make_seeds)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
parse=fuzz/corpus/fuzz_cursor_parse
pipeline=fuzz/corpus/fuzz_cursor_pipeline
pixels=fuzz/corpus/fuzz_cursor_pixels
rm -rf "$parse" "$pipeline" "$pixels"
mkdir -p "$parse" "$pipeline" "$pixels"
for file in resources/cursors/*.ani resources/cursors/Animated/*.ani; do
  name=default-$(basename "$(dirname "$file")" | tr 'A-Z' 'a-z')-$(basename "$file")
  cp "$file" "$parse/$name"
  { printf '\0\0'; cat "$file"; } >"$pipeline/$name"
done
"$build/make_seeds" "$parse" "$pipeline" "$pixels"
