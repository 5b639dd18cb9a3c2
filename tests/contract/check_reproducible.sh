#!/usr/bin/env bash
# Two clean builds of the module from the same sources, in different folders,
# must give byte-identical files.
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for build in one two; do
  cmake -S "$source_dir" -B "$work/$build" -DBUILD_TESTING=OFF -DQUILLMERE_TOOLS=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
  cmake --build "$work/$build" --target quillmere >/dev/null
done
a="$work/one/plugin/Quillmere.yrp"
b="$work/two/plugin/Quillmere.yrp"
if cmp "$a" "$b"; then
  echo "reproducible: $(stat -c %s "$a") bytes, sha256 $(sha256sum "$a" | cut -c1-16)"
else
  echo "two clean builds differ"; exit 1
fi
