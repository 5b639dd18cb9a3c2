#!/usr/bin/env bash
# The module's performance figures: installs what is missing, builds, and
# runs the benchmark under Wine on a virtual display. It prints a table (also
# kept in build/bench/latest.md).
#   Usage: scripts/bench.sh [--rounds N] [--rescales N] [--init-runs N]
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=bench
source scripts/common.sh
prepare_build
say "running the benchmark under Wine"
scripts/wine_session.sh build wine build/bench/quillmere_bench.exe "$@" | tee build/bench/latest.md \
  || fail "the benchmark failed"
