#!/usr/bin/env bash
# Runs a command inside one warm Wine session on a virtual X display:
#   scripts/wine_session.sh BUILD_DIR COMMAND...
# Uses a 32-bit Wine prefix inside the build folder, keeps one wineserver up
# for the whole command (each Wine start then costs a fraction of a second
# instead of seconds), and disables winedbg so that a crash fails at once
# instead of hanging under Xvfb.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
shift

export WINEPREFIX="$build_dir/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
# QUILLMERE_DLLOVERRIDES adds overrides of a caller's own (the tour's run
# through the stand-in DirectDraw wrapper adds ddraw=n,b).
export WINEDLLOVERRIDES="winedbg.exe=d;mscoree=d;mshtml=d${QUILLMERE_DLLOVERRIDES:+;$QUILLMERE_DLLOVERRIDES}"

if [ -z "${QUILLMERE_IN_XVFB:-}" ]; then
  # A virtual display of our own, on a free number: other X servers may run.
  # 2560x1440: the DirectDraw tests switch a game window to a screen that
  # large, and resize a window to 1600x1200.
  export QUILLMERE_IN_XVFB=1
  exec xvfb-run -a -s "-screen 0 2560x1440x24" "$0" "$build_dir" "$@"
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "==> creating the Wine prefix in $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine_session: wineboot failed" >&2; exit 1; }
  wineserver -w
fi
# A server that is already up (persistent) is fine. Every session holds a
# shared lock on the prefix; the last one out stops the server, so two
# scripts running at once never stop each other's.
exec 9>"$WINEPREFIX/.session.lock"
flock -s 9
wineserver -p 2>/dev/null || true
trap 'flock -u 9; if flock -xn 9; then wineserver -k >/dev/null 2>&1 || true; fi' EXIT
wine cmd /c exit >/dev/null 2>&1 || true
# Wine's windows unmanaged: with no window manager on the virtual display,
# hiding or destroying a managed window waits two seconds for a manager that
# never answers, in every test that closes a window.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
fi
"$@"
