#!/usr/bin/env bash
# Shows what `make run` built. The player takes over this script once it exists.
set -euo pipefail
build=${1:-build}
echo "Built in $build:"
find "$build" -maxdepth 3 -type f -perm -u+x \( -name '*tests' -o -name murmex -o -name kestrine \) | sort
