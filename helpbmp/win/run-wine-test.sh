#!/usr/bin/env bash
# Runs the Windows test program under Wine on an 8-bit (palette) X screen.
# Usage: run-wine-test.sh <wine> <wineserver> <prefix folder> <test.exe>
set -euo pipefail
wine="$1"
wineserver="$2"
export WINEPREFIX="$3"
exe="$4"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
cd "$(dirname "$exe")"
xvfb-run -a -s "-screen 0 640x480x8" bash -c '"$1" "$2"; rc=$?; "$3" -w; exit $rc' _ "$wine" "$(basename "$exe")" "$wineserver"
