#!/usr/bin/env bash
# Whether Wine shows an animated cursor's frames in turn on the X display:
# the stand-in host holds the plug-in's animated cursor 5 under the pointer,
# and a native program samples the picture the X server shows (through
# XFixes; screenshots hold no cursor) and needs it to change at least twice.
# Wine animates cursors only with the 32-bit libXcursor (libxcursor1:i386);
# without it the picture never changes.
# Run inside scripts/wine_session.sh (a display and a Wine prefix):
#   check_animation_on_screen.sh BUILD_DIR WINE [GAME_FOLDER]
set -euo pipefail
build=$(cd "$1" && pwd) wine=$2
source_dir=$(cd "$(dirname "$0")" && pwd)
sampler=$build/host/screen_cursor_frames
hold_ms=4000 sample_ms=2000 changes=2

if [ ! -x "$sampler" ] || [ "$source_dir/screen_cursor_frames.c" -nt "$sampler" ]; then
  cc -O2 -Wall -Wextra -Werror -o "$sampler" "$source_dir/screen_cursor_frames.c" -lX11 -lXfixes
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if [ -n "${3:-}" ]; then
  game=$(cd "$3" && pwd)
else
  game=$work/game
  mkdir -p "$game/plugin"
  cp "$build/plugin/Quillmere.yrp" "$game/plugin/"
  cp "$build/host/quillmere_host.exe" "$build/host/storm.dll" "$game/"
fi

(cd "$game" && timeout -k 5 60 "$wine" ./quillmere_host.exe --hold-animated "$hold_ms") \
  >"$work/host.log" 2>&1 &
host=$!
for _ in $(seq 1 150); do
  grep -q 'on screen' "$work/host.log" && break
  kill -0 "$host" 2>/dev/null || break
  sleep 0.1
done
set +e
sampled=$("$sampler" "$sample_ms" "$changes")
sampler_status=$?
wait "$host"
host_status=$?
set -e
tr -d '\r' <"$work/host.log"
if [ "$host_status" -ne 0 ]; then
  echo "FAIL  animated cursor on screen: the host could not show it"; exit 1
fi
if [ "$sampler_status" -ne 0 ]; then
  echo "FAIL  animated cursor on screen: $sampled; expected its frames in turn" \
       "(is the 32-bit libXcursor, libxcursor1:i386, installed?)"
  exit 1
fi
echo "ok    animated cursor on screen: $sampled"
