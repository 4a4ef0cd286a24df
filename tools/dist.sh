#!/usr/bin/env bash
# Gathers the release artefacts of the version the build was configured with
# in dist/, with their SHA256SUMS: the source archive (of the commit checked
# out; uncommitted changes are not in it), the Debian packages, the Windows
# zip, the VS Code extension and the web runtime (the engine in WebAssembly,
# its JavaScript API and the page murmex publish fills). The make targets that
# build them run first.
# Usage: tools/dist.sh BUILD_FOLDER WINDOWS_BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
windows_build="$(cd "$2" && pwd)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
dist=$root/dist

rm -rf "$dist"
mkdir -p "$dist"
git -C "$root" archive --format=tar.gz --prefix="murmex-$version/" \
    --output="$dist/murmex-$version.tar.gz" HEAD
cp "$build"/*_"$version"_*.deb "$dist/"
cp "$windows_build/dist/murmex-$version-windows.zip" "$dist/"
cp "$root/editors/vscode/murmex.vsix" "$dist/murmex-$version.vsix"
tar -czf "$dist/murmex-web-$version.tar.gz" -C "$build/web/share/murmex" web
(cd "$dist" && sha256sum -- * >SHA256SUMS)
cat "$dist/SHA256SUMS"
