#!/usr/bin/env bash
# Rewrites the committed seed corpus: the default cursors, and the varied
# files make_seeds writes from a fixed seed. Targets whose input starts with
# the two bytes choosing the size asked get 0, 0 before each default.
#   fuzz/make_corpus.sh BUILD_DIR   (the fuzz build, with make_seeds)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$1
check=fuzz/corpus/fuzz_cursor_check
copy=fuzz/corpus/fuzz_animated_copy
pixels=fuzz/corpus/fuzz_cursor_pixels
rm -rf "$check" "$copy" "$pixels"
mkdir -p "$check" "$copy" "$pixels"
for file in resources/cursors/*.ani resources/cursors/Animated/*.ani; do
  name=default-$(basename "$(dirname "$file")" | tr 'A-Z' 'a-z')-$(basename "$file")
  cp "$file" "$check/$name"
  { printf '\0\0'; cat "$file"; } >"$copy/$name"
done
"$build/make_seeds" "$check" "$copy" "$pixels"
