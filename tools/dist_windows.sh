#!/usr/bin/env bash
# Packs the Windows programs for release: kestrine.exe, murmex.exe (both
# stripped of their debugging information), the demo's data.chr and the README,
# side by side in BUILD_FOLDER/dist/murmex-VERSION-windows.zip, VERSION being
# the one the build was configured with.
# Usage: tools/dist_windows.sh BUILD_FOLDER
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name=murmex-$version-windows
staging=$build/dist/$name
rm -rf "$build/dist"
mkdir -p "$staging"
x86_64-w64-mingw32-strip -o "$staging/kestrine.exe" "$build/player/win32/kestrine.exe"
x86_64-w64-mingw32-strip -o "$staging/murmex.exe" "$build/tools/cli/murmex.exe"
cp "$build/examples/data.chr" "$staging/"
cp "$root/README.md" "$staging/"
(cd "$build/dist" && python3 -m zipfile -c "$name.zip" "$name/")
echo "$build/dist/$name.zip"
