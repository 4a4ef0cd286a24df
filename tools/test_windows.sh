#!/usr/bin/env bash
# Runs the Windows build's tests under wine: the suite, then the window smoke
# test, on the private prefix inside the build folder, whose wine server is
# started here and stopped at the end whatever happened.
# Usage: tools/test_windows.sh BUILD_FOLDER JOBS
set -euo pipefail
build=$(cd "$1" && pwd)
jobs=$2
export WINEPREFIX=$build/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=

# A persistent server and the prefix's services started with their output
# elsewhere: otherwise they hold a test's output pipe open after it ends, and
# CTest waits for them. This also creates the prefix on the first run.
wineserver -p
trap 'wineserver -k 2>/dev/null || true' EXIT
wine wineboot >/dev/null 2>&1

cd "$build"
ctest --output-on-failure -j "$jobs" -LE window
ctest --output-on-failure -L window
