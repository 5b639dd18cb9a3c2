#!/usr/bin/env bash
# Cursor sizes on a display at 150 %: the display scaling cases of the core
# tests run in the Wine prefix at 144 DPI (the system's cursor size is then
# 48), once in a process that is not DPI-aware and once in one that is. They
# expect the sizes 96 DPI gives.
#   high_dpi_sizes.sh BUILD_DIR WINE CORE_TESTS_EXE
set -euo pipefail
build=$1 wine=$2 tests=$3
at_144_dpi=$(dirname "$0")/../support/at_144_dpi.sh
for case in DisplayScaling.SizesAsAt96DpiInAProcessNotDpiAware \
            DisplayScaling.SizesAsAt96DpiInADpiAwareProcess; do
  QUILLMERE_EXPECT_CURSOR_METRIC=48 bash "$at_144_dpi" "$build" "$wine" "$tests" \
    --gtest_filter="$case"
done
