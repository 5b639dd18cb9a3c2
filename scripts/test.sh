#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds, and runs every test
# under Wine on a virtual display.   Usage: scripts/test.sh [ctest options]
set -euo pipefail
cd "$(dirname "$0")/.."
say() { printf '==> %s\n' "$*"; }
fail() { printf 'test: %s\n' "$*" >&2; exit 1; }

say "checking the build machine"
bash scripts/setup.sh || fail "setting up the machine failed"
say "configuring (build/)"
cmake --preset default >/dev/null || fail "cmake configure failed"
say "building"
cmake --build --preset default || fail "the build failed"
say "running the tests under Wine"
start=$(date +%s)
if scripts/wine_session.sh build ctest --preset default "$@"; then
  say "all tests passed in $(( $(date +%s) - start )) s"
else
  fail "tests failed (see above)"
fi
