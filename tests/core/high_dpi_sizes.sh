#!/usr/bin/env bash
# Cursor sizes on a display at 150 %: the display scaling cases of the core
# tests run in a Wine prefix of their own whose LogPixels is 144 (the
# system's cursor size is then 48), once in a process that is not DPI-aware
# and once in one that is. They expect the sizes 96 DPI gives.
#   high_dpi_sizes.sh BUILD_DIR WINE CORE_TESTS_EXE
set -euo pipefail
build=$1 wine=$2 tests=$3
export WINEPREFIX="$build/wineprefix-144dpi"
mkdir -p "$WINEPREFIX"
exec 8>"$WINEPREFIX.lock"
flock 8
if [ ! -f "$WINEPREFIX/dpi-144" ]; then
  echo "creating the Wine prefix at 144 DPI in $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/dpi-144"
fi
# Unmanaged windows, as in the main prefix (see scripts/wine_session.sh).
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
fi
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
for case in DisplayScaling.SizesAsAt96DpiInAProcessNotDpiAware \
            DisplayScaling.SizesAsAt96DpiInADpiAwareProcess; do
  QUILLMERE_EXPECT_CURSOR_METRIC=48 timeout -k 5 120 "$wine" "$tests" --gtest_filter="$case"
done
