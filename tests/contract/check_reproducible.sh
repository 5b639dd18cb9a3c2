#!/usr/bin/env bash
# A clean build of the module in another folder must give the very bytes of
# the module the build tree holds: nothing of the folder, the time or the
# build's history may reach the file.
#   check_reproducible.sh SOURCE_DIR BUILT_MODULE
set -euo pipefail
source_dir=$1
built=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A compiler cache would hand back the objects of the first build.
export CCACHE_DISABLE=1
unset CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER
cmake -S "$source_dir" -B "$work/clean" -DBUILD_TESTING=OFF -DQUILLMERE_TOOLS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel >/dev/null
cmake --build "$work/clean" --target quillmere >/dev/null
clean="$work/clean/plugin/Quillmere.yrp"
if cmp "$built" "$clean"; then
  echo "reproducible: $(stat -c %s "$clean") bytes, sha256 $(sha256sum "$clean" | cut -c1-16)"
else
  echo "a clean build in another folder differs from the build tree's module"; exit 1
fi
