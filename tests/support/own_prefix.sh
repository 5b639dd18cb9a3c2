# Sourced by the scripts that run test programs in a Wine prefix of their
# own, apart from the main one by one registry value (a DPI, a pointer
# size): the prefix is made on first use (about a minute) and used by one
# caller at a time.
#   use_own_prefix PREFIX_DIR WINE KEY NAME DWORD_VALUE
use_own_prefix() {
  local wine=$2 key=$3 name=$4 value=$5
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  exec 8>"$WINEPREFIX.lock"
  flock 8
  if [ ! -f "$WINEPREFIX/made" ]; then
    echo "creating the Wine prefix $WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/made"
  fi
  # Unmanaged windows, as in the main prefix (see scripts/wine_session.sh).
  if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
  fi
  # Set on every use: a case stopped half way may have left another value.
  "$wine" reg add "$key" /v "$name" /t REG_DWORD /d "$value" /f >/dev/null
  trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
}
