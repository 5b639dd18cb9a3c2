#!/bin/sh
# Checks that the committed default cursor files and contact sheet are what
# the current cursor_art writes, byte for byte.
#
# Usage: check_committed.sh <cursor_art binary> <repository root>
set -eu

if [ "$#" -ne 2 ]; then
    echo "usage: $0 <cursor_art binary> <repository root>" >&2
    exit 2
fi
tool=$1
root=$2
committed_cursors=$root/resources/cursors
committed_sheet=$root/docs/default_cursors.png
regenerate="$tool $committed_cursors $committed_sheet"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

if ! "$tool" "$work/cursors" "$work/default_cursors.png"; then
    echo "FAIL: $tool did not run to completion" >&2
    exit 1
fi

failures=0
checked=0

compare() {
    # $1: freshly written file, $2: committed file
    checked=$((checked + 1))
    if [ ! -f "$2" ]; then
        echo "FAIL: missing committed file $2" >&2
        failures=$((failures + 1))
    elif ! cmp -s "$1" "$2"; then
        echo "FAIL: $2 differs from what cursor_art writes" >&2
        failures=$((failures + 1))
    fi
}

for fresh in $(cd "$work/cursors" && find . -type f -name '*.ani' | sed 's|^\./||' | sort); do
    compare "$work/cursors/$fresh" "$committed_cursors/$fresh"
done
compare "$work/default_cursors.png" "$committed_sheet"

# A committed cursor file the tool no longer writes is stale.
if [ -d "$committed_cursors" ]; then
    for kept in $(cd "$committed_cursors" && find . -type f -name '*.ani' | sed 's|^\./||' | sort); do
        if [ ! -f "$work/cursors/$kept" ]; then
            echo "FAIL: $committed_cursors/$kept is not written by cursor_art" >&2
            failures=$((failures + 1))
        fi
    done
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures of $checked committed files are out of date; regenerate with:" >&2
    echo "  $regenerate" >&2
    exit 1
fi
echo "cursor_art: all $checked committed files match"
