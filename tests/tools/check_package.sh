#!/usr/bin/env bash
# The players' zip: exactly the documented files, the module as built, the
# sample settings and readme as Windows text, and packing the same files
# again gives the same bytes.
#   check_package.sh ZIP MODULE MAKE_ZIP_SCRIPT
set -euo pipefail
zip=$1 module=$2 make_zip=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
problem() { echo "$*"; status=1; }

expected='Quillmere-README.txt
plugin/Quillmere.yrp
plugin/Quillmere.ini
plugin/quillmere_check.exe'
names=$(unzip -Z1 "$zip")
[ "$names" = "$expected" ] || problem "the zip holds:"$'\n'"$names"$'\n'"expected:"$'\n'"$expected"

unzip -q "$zip" -d "$work/unpacked"
cmp -s "$work/unpacked/plugin/Quillmere.yrp" "$module" || problem "plugin/Quillmere.yrp is not the built module"
ini="$work/unpacked/plugin/Quillmere.ini"
grep -q $'^\\[Cursor\\]\r$' "$ini" || problem "Quillmere.ini has no [Cursor] line (with CRLF)"
grep -q $'^Size=0\r$' "$ini" || problem "Quillmere.ini does not set Size=0"
readme="$work/unpacked/Quillmere-README.txt"
for heading in Installing 'Cursor size' 'Replacing and restoring' 'Checking your cursors' 'Running on Linux under Wine'; do
  grep -q "^$heading" "$readme" || problem "the readme has no section '$heading'"
done
if grep -q $'[^\r]$' "$readme"; then problem "the readme has lines without CRLF"; fi
grep -q '@PROJECT_VERSION@' "$readme" && problem "the readme's version was not filled in"

u="$work/unpacked"
bash "$make_zip" "$work/again.zip" "$work/stage" "$u/plugin/Quillmere.yrp" "$ini" "$readme" \
     "$u/plugin/quillmere_check.exe"
cmp -s "$zip" "$work/again.zip" || problem "packing the same files again gives another zip"

[ $status -eq 0 ] && echo "package ok: $(echo $names)"
exit $status
