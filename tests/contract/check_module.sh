#!/usr/bin/env bash
# The module's contract with a player's game folder, checked on the built file:
# a 32-bit DLL exporting exactly yrp_init, undecorated, and importing nothing
# but the four system DLLs every Windows has.
set -euo pipefail
dll=$1
objdump=${2:-i686-w64-mingw32-objdump}
headers=$($objdump -p "$dll")
status=0

grep -q 'file format pei-i386' <<<"$headers" || { echo "not a 32-bit PE file: $dll"; status=1; }
# IMAGE_FILE_DLL (0x2000) in the file characteristics.
characteristics=$(sed -n 's/^Characteristics 0x\([0-9a-f]*\)$/\1/p' <<<"$headers")
(( (16#$characteristics & 0x2000) != 0 )) || { echo "not a DLL (characteristics $characteristics)"; status=1; }

exports=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | sed -n 's/^\s*\[\s*[0-9]*\] //p')
if [ "$exports" != "yrp_init" ]; then
  echo "exports must be exactly yrp_init, found:"; echo "$exports"; status=1
fi

imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
for name in $imports; do
  case "$name" in
    kernel32.dll|user32.dll|gdi32.dll|msvcrt.dll) ;;
    *) echo "forbidden import: $name (a game folder has no such DLL)"; status=1 ;;
  esac
done
echo "exports: $exports"
echo "imports: $(echo $imports)"
exit $status
