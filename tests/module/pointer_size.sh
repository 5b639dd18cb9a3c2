#!/usr/bin/env bash
# The pointer size cases of a test program (the suites FILTER names), in a
# Wine prefix of their own whose pointer size (HKCU\Control Panel\Cursors,
# CursorBaseSize) is 96: made on first use (about a minute), one caller at a
# time.
#   pointer_size.sh BUILD_DIR WINE TESTS_EXE FILTER
set -euo pipefail
build=$1 wine=$2 tests=$3 filter=$4
export WINEPREFIX="$build/wineprefix-pointer-96"
mkdir -p "$WINEPREFIX"
exec 8>"$WINEPREFIX.lock"
flock 8
if [ ! -f "$WINEPREFIX/pointer-96" ]; then
  echo "creating the Wine prefix with pointer size 96 in $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  wineserver -w
  touch "$WINEPREFIX/pointer-96"
fi
# Set again on every run: a case stopped half way may have left another.
"$wine" reg add 'HKCU\Control Panel\Cursors' /v CursorBaseSize /t REG_DWORD /d 96 /f >/dev/null
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
QUILLMERE_POINTER_PREFIX=1 timeout -k 5 180 "$wine" "$tests" --gtest_filter="$filter"
