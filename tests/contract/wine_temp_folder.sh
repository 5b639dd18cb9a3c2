#!/usr/bin/env bash
# Wine's Temp folder, before and after the test programs ran in the prefix:
#   wine_temp_folder.sh record LIST    writes into LIST what the folder holds
#   wine_temp_folder.sh compare LIST   fails, naming each entry not in LIST
# Every test cleans up after itself; this catches any that does not.
set -euo pipefail
action=$1
list=$2
windows_temp=$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')
temp=$(winepath -u "$windows_temp" 2>/dev/null)
[ -d "$temp" ] || { echo "no Temp folder at $windows_temp ($temp)" >&2; exit 1; }
holds() { (cd "$temp" && find . -mindepth 1 | LC_ALL=C sort); }

case $action in
  record)
    holds >"$list"
    echo "Wine's Temp folder holds $(wc -l <"$list") entries before the tests"
    ;;
  compare)
    [ -f "$list" ] || { echo "nothing recorded before the tests ($list)" >&2; exit 1; }
    left=$(holds | LC_ALL=C comm -13 "$list" -)
    if [ -n "$left" ]; then
      echo "the tests left $(printf '%s\n' "$left" | wc -l) entries in $windows_temp:"
      printf '%s\n' "$left" | head -50
      exit 1
    fi
    echo "Wine's Temp folder holds what it held before the tests"
    ;;
  *)
    echo "usage: $0 record|compare LIST" >&2
    exit 2
    ;;
esac
