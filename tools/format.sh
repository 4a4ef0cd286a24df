#!/usr/bin/env bash
# Formats every C++ source of the project in place with clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format -i
