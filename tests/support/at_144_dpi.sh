#!/usr/bin/env bash
# Runs a Windows program under Wine on a display at 150 %: in a Wine prefix
# of its own whose LogPixels is 144, made on first use (about a minute) and
# shared by every caller, one at a time.
#   at_144_dpi.sh BUILD_DIR WINE PROGRAM [ARGUMENT...]
set -euo pipefail
build=$1 wine=$2
shift 2
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
timeout -k 5 120 "$wine" "$@"
