#!/usr/bin/env bash
# Plays the bundled demo: starts kestrine in the build's examples folder, which
# holds the demo's scrambled data.chr. Without a display it says so and plays
# the demo in the terminal instead, where the terminal player exists.
set -euo pipefail
build=${1:-build}
demo_folder="$build/examples"
player="$(cd "$build" && pwd)/player/qt/kestrine"
murmex="$(cd "$build" && pwd)/tools/cli/murmex"

if [ ! -f "$demo_folder/data.chr" ]; then
    echo "No demo script at $demo_folder/data.chr: build the project first (make run)." >&2
    exit 1
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting kestrine in $demo_folder (close the window or press Esc to quit)."
    cd "$demo_folder" && exec "$player"
fi

echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window can't be shown."
if "$murmex" play --help >/dev/null 2>&1; then
    echo "Playing the demo in the terminal instead: type a question's number, or q to quit."
    exec "$murmex" play "$demo_folder/data.chr"
fi
echo "On a desktop, run: cd $demo_folder && $player"
