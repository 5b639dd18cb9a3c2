#!/usr/bin/env bash
# The pointer size cases of a test program (the suites FILTER names), in a
# Wine prefix of their own whose pointer size (HKCU\Control Panel\Cursors,
# CursorBaseSize) is 96.
#   pointer_size.sh BUILD_DIR WINE TESTS_EXE FILTER
set -euo pipefail
build=$1 wine=$2 tests=$3 filter=$4
source "$(dirname "$0")/../support/own_prefix.sh"
use_own_prefix "$build/wineprefix-pointer-96" "$wine" 'HKCU\Control Panel\Cursors' \
  CursorBaseSize 96
QUILLMERE_POINTER_PREFIX=1 timeout -k 5 180 "$wine" "$tests" --gtest_filter="$filter"
