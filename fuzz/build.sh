#!/usr/bin/env bash
# Configures and builds the native fuzz targets (32-bit) into BUILD_DIR.
#   fuzz/build.sh BUILD_DIR
set -euo pipefail
source_dir=$(cd "$(dirname "$0")" && pwd)
build=$1
cmake -S "$source_dir" -B "$build" -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 >/dev/null
