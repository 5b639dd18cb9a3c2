#!/usr/bin/env bash
# Packs the players' zip, ready to unpack into a game folder. The files are
# staged as copies with fixed times and modes and packed in a fixed order
# without extra attributes, so the same inputs give the same zip, byte for
# byte, on every build.
#   make_zip.sh ZIP STAGE_FOLDER MODULE SETTINGS_FILE README CHECK_TOOL CHART CHANGELOG \
#               SETTINGS_WINDOW
set -euo pipefail
usage="usage: $0 ZIP STAGE_FOLDER MODULE SETTINGS_FILE README CHECK_TOOL CHART CHANGELOG SETTINGS_WINDOW"
[ $# -eq 9 ] || { echo "$usage" >&2; exit 2; }
zip_path=$(realpath -m "$1")
stage=$2
module=$3 settings=$4 readme=$5 check_tool=$6 chart=$7 changelog=$8 settings_window=$9
# DOS times in a zip are local times: pin the zone as well as the time.
export TZ=UTC
fixed_time='2000-01-01 00:00:00'

rm -rf "$stage"
mkdir -p "$stage/plugin"
cp "$module" "$stage/plugin/Quillmere.yrp"
cp "$check_tool" "$stage/plugin/quillmere_check.exe"
cp "$settings_window" "$stage/plugin/quillmere_settings.exe"
cp "$chart" "$stage/Quillmere-cursor-numbers.png"
# Text files get Windows line ends, so that every editor on Windows shows them.
# The settings go in as a sample: unpacking a new version over an old one
# must never replace the player's own Quillmere.ini.
sed 's/\r*$/\r/' "$settings" >"$stage/plugin/Quillmere.ini.sample"
sed 's/\r*$/\r/' "$readme" >"$stage/Quillmere-README.txt"
sed 's/\r*$/\r/' "$changelog" >"$stage/Quillmere-CHANGELOG.txt"

files=(Quillmere-README.txt Quillmere-CHANGELOG.txt Quillmere-cursor-numbers.png
       plugin/Quillmere.yrp plugin/Quillmere.ini.sample plugin/quillmere_check.exe
       plugin/quillmere_settings.exe)
(cd "$stage" && chmod 644 "${files[@]}" && touch -d "$fixed_time" "${files[@]}")
rm -f "$zip_path" "$zip_path.part"
(cd "$stage" && zip -X -D -q -9 "$zip_path.part" "${files[@]}")
mv "$zip_path.part" "$zip_path"
