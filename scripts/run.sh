#!/usr/bin/env bash
# The main job: installs what is missing, builds everything, lays out a game
# folder in build/demo and runs the stand-in host with the module under Wine
# on a virtual display through its scripted tour, once for each of the three
# scale modes (the module reads its settings once per start; the fixed
# sizes 2.0 and 3.0 with smooth and with square edges), and three
# times drawing through DirectDraw beside the stand-in wrappers (a window of
# 1280x960; whole numbers on a 1920x1080 screen; the cursor drawn into the
# game's frame). Each tour prints one line per step and writes its pictures
# and a contact sheet to build/demo/tour-<run>/. A native program then
# watches the X display while the host holds the animated cursor: its frames
# must take turns. Then the players' check tool reports on the game folder
# the tours left behind.
#   Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
SCRIPT_NAME=run
source scripts/common.sh
prepare_build

demo=build/demo
say "laying out a game folder in $demo (plugin/Quillmere.yrp)"
rm -rf "$demo"
mkdir -p "$demo/plugin"
cp build/plugin/Quillmere.yrp "$demo/plugin/"
cp build/host/storm.dll build/host/quillmere_host.exe build/tools/quillmere_check.exe "$demo/"

# mode name, the Size value that selects it and the Edges value; the fixed
# sizes twice and three times, with smooth edges (the default) and square
# ones, so that their contact sheets show both side by side
modes=("native 1.0 smooth" "fixed-2.0 2.0 smooth" "fixed-2.0-square 2.0 square"
       "fixed-3.0 3.0 smooth" "fixed-3.0-square 3.0 square" "automatic 0 smooth")
failed=()
for entry in "${modes[@]}"; do
  read -r mode size edges <<<"$entry"
  say "tour with Size=$size, Edges=$edges ($mode): $demo/tour-$mode/"
  printf '[Cursor]\r\nSize=%s\r\nEdges=%s\r\n' "$size" "$edges" >"$demo/plugin/Quillmere.ini"
  mkdir -p "$demo/tour-$mode"
  if ! (cd "$demo" && ../../scripts/wine_session.sh .. wine ./quillmere_host.exe --tour "tour-$mode"); then
    failed+=("$mode")
  fi
  [ -f "$demo/tour-$mode/contact_sheet.png" ] || failed+=("$mode (no contact sheet)")
done

# The same game folder drawing through DirectDraw, magnified by the stand-in
# wrapper (build/host/wrapper/ddraw.dll) into a window of 1280x960 in
# automatic mode: in play, then resized, then switched to the whole screen.
# Wine loads a ddraw.dll beside the program only when told to (ddraw=n,b).
say "tour magnified by a wrapper to 1280x960 (automatic): $demo/tour-wrapper-1280x960/"
printf '[Cursor]\r\nSize=0\r\n' >"$demo/plugin/Quillmere.ini"
cp build/host/wrapper/ddraw.dll "$demo/"
printf '[ddraw]\r\nwindowed=true\r\nfullscreen=false\r\nwidth=1280\r\nheight=960\r\nhook=3\r\n' >"$demo/ddraw.ini"
mkdir -p "$demo/tour-wrapper-1280x960"
if ! (cd "$demo" && QUILLMERE_DLLOVERRIDES="ddraw=n,b" ../../scripts/wine_session.sh .. \
        wine ./quillmere_host.exe --ddraw --tour tour-wrapper-1280x960); then
  failed+=("wrapper-1280x960")
fi
[ -f "$demo/tour-wrapper-1280x960/contact_sheet.png" ] || failed+=("wrapper-1280x960 (no contact sheet)")

# Two more runs with the stand-in wrappers: cnc-ddraw's whole-number
# magnification on a 1920x1080 screen (the picture 1280x960 inside black
# borders), and a wrapper that draws the cursor into the game's 640x480
# frame and magnifies both onto the whole screen.
wrapper_run() {
  local name=$1 dll=$2 settings=$3
  say "tour $name (automatic): $demo/tour-$name/"
  cp "$dll" "$demo/ddraw.dll"
  printf '%b' "$settings" >"$demo/ddraw.ini"
  mkdir -p "$demo/tour-$name"
  if ! (cd "$demo" && QUILLMERE_DLLOVERRIDES="ddraw=n,b" ../../scripts/wine_session.sh .. \
          wine ./quillmere_host.exe --ddraw --tour "tour-$name"); then
    failed+=("$name")
  fi
  [ -f "$demo/tour-$name/contact_sheet.png" ] || failed+=("$name (no contact sheet)")
}
wrapper_run wrapper-whole-numbers-1920x1080 build/host/wrapper/ddraw.dll \
  '[ddraw]\r\nwindowed=false\r\nwidth=1920\r\nheight=1080\r\nboxing=true\r\n'
wrapper_run wrapper-cursor-in-frame build/host/wrapper/compat/ddraw.dll ''
rm -f "$demo/ddraw.dll" "$demo/ddraw.ini"

say "the animated cursor on the X display: Wine must show its frames in turn"
scripts/wine_session.sh build host/tour/check_animation_on_screen.sh build wine "$demo" \
  || failed+=("the animated cursor on screen")
cp resources/Quillmere.ini "$demo/plugin/Quillmere.ini"

say "the check tool in the game folder (quillmere_check.exe)"
# No keyboard for it: from a terminal, Wine gives the tool a console of its
# own, and it would wait for Enter as after a double click.
(cd "$demo" && ../../scripts/wine_session.sh .. wine ./quillmere_check.exe </dev/null) \
  || failed+=("the check tool")

[ ${#failed[@]} -eq 0 ] || fail "failed: ${failed[*]}"
say "contact sheets: $(ls "$demo"/tour-*/contact_sheet.png | tr '\n' ' ')"
