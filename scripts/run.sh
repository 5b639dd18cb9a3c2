#!/usr/bin/env bash
# The main job: installs what is missing, builds the module and the stand-in
# host, and runs the host with the module under Wine on a virtual display.
# Output (screenshots) goes to build/demo/.   Usage: scripts/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
say() { printf '==> %s\n' "$*"; }
fail() { printf 'run: %s\n' "$*" >&2; exit 1; }

say "checking the build machine"
bash scripts/setup.sh || fail "setting up the machine failed"
say "configuring (build/)"
cmake --preset default >/dev/null || fail "cmake configure failed"
say "building the module and the stand-in host"
cmake --build --preset default --target quillmere quillmere_host || fail "the build failed"

demo=build/demo
say "laying out a game folder in $demo (plugin/Quillmere.yrp)"
rm -rf "$demo"
mkdir -p "$demo/plugin"
cp build/plugin/Quillmere.yrp "$demo/plugin/"
[ -f build/host/storm.dll ] && cp build/host/storm.dll "$demo/"
cp build/host/quillmere_host.exe "$demo/"

say "running the stand-in host with the module"
(cd "$demo" && ../../scripts/wine_session.sh .. wine ./quillmere_host.exe --screenshot screenshot.png) \
  || fail "the stand-in host failed"
[ -f "$demo/screenshot.png" ] || fail "no screenshot was written"
say "screenshot of the host window: $demo/screenshot.png"
