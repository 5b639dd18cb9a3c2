#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test
# under Wine on a virtual display.   Usage: scripts/test.sh [ctest options]
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=test
source scripts/common.sh
prepare_build
say "running the tests under Wine"
start=$(date +%s)
if scripts/wine_session.sh build ctest --preset default "$@"; then
  say "all tests passed in $(( $(date +%s) - start )) s"
else
  fail "tests failed (see above)"
fi
