#!/usr/bin/env bash
# Configures and builds the native fuzz targets (32-bit) into BUILD_DIR; the
# compiler's output is shown only when the build fails.
#   fuzz/build.sh BUILD_DIR
set -euo pipefail
source_dir=$(cd "$(dirname "$0")" && pwd)
build=$1
mkdir -p "$build"
log=$build/build.log
if ! { cmake -S "$source_dir" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
         -DCMAKE_BUILD_TYPE=RelWithDebInfo && cmake --build "$build" -j2; } >"$log" 2>&1; then
  tail -60 "$log" >&2
  echo "fuzz/build.sh: building the fuzz targets failed (log: $log)" >&2
  exit 1
fi
