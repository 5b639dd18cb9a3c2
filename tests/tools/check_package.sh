#!/usr/bin/env bash
# The players' zip: exactly the documented files, the module as built, the
# settings as a sample that never replaces a player's file, the readme and
# changelog as Windows text, the chart of cursor numbers as drawn by
# cursor_art, and packing the same files again gives the same bytes.
#   check_package.sh ZIP MODULE MAKE_ZIP_SCRIPT CHART
set -euo pipefail
zip=$1 module=$2 make_zip=$3 chart=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
problem() { echo "$*"; status=1; }

expected='Quillmere-README.txt
Quillmere-CHANGELOG.txt
Quillmere-cursor-numbers.png
plugin/Quillmere.yrp
plugin/Quillmere.ini.sample
plugin/quillmere_check.exe
plugin/quillmere_settings.exe'
names=$(unzip -Z1 "$zip")
[ "$names" = "$expected" ] || problem "the zip holds:"$'\n'"$names"$'\n'"expected:"$'\n'"$expected"

u="$work/unpacked"
unzip -q "$zip" -d "$u"
cmp -s "$u/plugin/Quillmere.yrp" "$module" || problem "plugin/Quillmere.yrp is not the built module"
cmp -s "$u/Quillmere-cursor-numbers.png" "$chart" || problem "the chart is not the committed $chart"
ini="$u/plugin/Quillmere.ini.sample"
grep -q $'^\\[Cursor\\]\r$' "$ini" || problem "Quillmere.ini.sample has no [Cursor] line (with CRLF)"
grep -q $'^Size=0\r$' "$ini" || problem "Quillmere.ini.sample does not set Size=0"
readme="$u/Quillmere-README.txt"
for heading in 'Quick start' 'What is in the zip' 'The cursors are too small or too large' \
               'I want my own cursors' "My cursors don't show" "The game's own cursor shows" \
               'The check tool' 'Linux, Proton and the Steam Deck' 'DirectDraw wrappers' \
               'Windows' 'Upgrading and uninstalling' 'Reporting a problem' \
               'Technical details' 'Licence'; do
  grep -q "^$heading" "$readme" || problem "the readme has no section '$heading'"
done
changelog="$u/Quillmere-CHANGELOG.txt"
version=$(grep -o '^Quillmere [0-9.]*' "$readme" | head -1 | cut -d' ' -f2)
grep -q "^$version - " "$changelog" || problem "the players' changelog has no entry for $version"
# Players' words: the developers' terms stay in CHANGELOG.md.
for jargon in 'RIFF' '2^31' 'sequence flag' 'odd number of bytes' 'anih' 'GetTempFileName'; do
  grep -qF "$jargon" "$changelog" && problem "the players' changelog says '$jargon'"
done
for text in "$readme" "$changelog"; do
  if grep -q $'[^\r]$' "$text"; then problem "$(basename "$text") has lines without CRLF"; fi
done
grep -q '@PROJECT_VERSION@' "$readme" && problem "the readme's version was not filled in"

bash "$make_zip" "$work/again.zip" "$work/stage" "$u/plugin/Quillmere.yrp" "$ini" "$readme" \
     "$u/plugin/quillmere_check.exe" "$u/Quillmere-cursor-numbers.png" "$changelog" \
     "$u/plugin/quillmere_settings.exe"
cmp -s "$zip" "$work/again.zip" || problem "packing the same files again gives another zip"

[ $status -eq 0 ] && echo "package ok: $(echo $names)"
exit $status
