#!/usr/bin/env bash
# The tour fails when a step sees something other than expected: with one
# expectation made wrong on purpose (--tour-expect-wrong: kind 0 one pixel
# larger), the host exits non-zero and exactly that step is reported.
# A fixed Size=2.0 makes every other step independent of timing.
#   check_tour_failure.sh BUILD_DIR WINE
set -euo pipefail
build=$1 wine=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/plugin" "$work/out"
cp "$build/plugin/Quillmere.yrp" "$work/plugin/"
cp "$build/host/quillmere_host.exe" "$build/host/storm.dll" "$work/"
printf '[Cursor]\r\nSize=2.0\r\n' >"$work/plugin/Quillmere.ini"

set +e
# A tour that hangs is ended (timeout's exit code, 124, then fails below).
(cd "$work" && timeout -k 5 120 "$wine" ./quillmere_host.exe --tour out --tour-expect-wrong) \
  >"$work/log" 2>&1
status=$?
set -e
tr -d '\r' <"$work/log" >"$work/lines"
cat "$work/lines"
fails=$(grep -c '^FAIL' "$work/lines" || true)
[ "$status" -ne 0 ] || { echo "the tour exited 0 despite a wrong expectation"; exit 1; }
[ "$fails" -eq 1 ] || { echo "expected exactly one failing step, found $fails"; exit 1; }
grep -qx 'FAIL  kind 0, Size=2.0: 64x64 cursor, expected 65x65' "$work/lines" \
  || { echo "the failing step is not kind 0 with its shifted expectation"; exit 1; }
grep -q '^tour: [0-9]* steps, 1 failed' "$work/lines" || { echo "no summary line"; exit 1; }
[ -s "$work/out/contact_sheet.png" ] || { echo "no contact sheet written"; exit 1; }
echo "the tour failed as it should, with exit code $status"
