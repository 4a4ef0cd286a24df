#!/usr/bin/env bash
# Counts the instructions the loads of the benchmark scripts take, with
# callgrind: usage bench/load_instructions.sh [BUILD] (default build-bench,
# as `make bench` configures it). Unlike a time, the count is the same on
# every run, so a change of a per cent or two in the loader's cost shows.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
command -v valgrind >/dev/null || tools/install_deps.sh valgrind
cmake --build "$build" -j 2 --target load_instructions >/dev/null
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$folder/callgrind.out" --collect-atstart=no \
    '--toggle-collect=*ConversationEngine::load*' \
    "$build/bench/load_instructions" examples/demo.chr.txt "$folder" 2>&1 |
    sed -n 's/.*I *refs: *\([0-9,]*\).*/instructions of the four loads: \1/p'
