#!/usr/bin/env bash
# Runs a Windows program under Wine on a display at 150 %: in a Wine prefix
# of its own whose LogPixels is 144.
#   at_144_dpi.sh BUILD_DIR WINE PROGRAM [ARGUMENT...]
set -euo pipefail
build=$1 wine=$2
shift 2
source "$(dirname "$0")/own_prefix.sh"
use_own_prefix "$build/wineprefix-144dpi" "$wine" 'HKCU\Control Panel\Desktop' LogPixels 144
timeout -k 5 120 "$wine" "$@"
