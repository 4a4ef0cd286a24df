#!/usr/bin/env bash
# Builds the Python package's wheel into dist/ with Debian's python3-build and
# no network: from a copy of bindings/python in the build folder (so nothing,
# egg-info included, is written into the source tree), with the build's shared
# library, stripped, beside the modules and the version CMake read from
# CMakeLists.txt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
stage="$build/wheel"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "build-wheel: no project version in $build/CMakeCache.txt" >&2; exit 1; }

rm -rf "$stage"
mkdir -p "$stage" "$root/dist"
cp -r "$root/bindings/python/pyproject.toml" "$root/bindings/python/setup.py" \
    "$root/bindings/python/murmex" "$stage/"
rm -rf "$stage/murmex/__pycache__"
echo "$version" >"$stage/VERSION"
strip --strip-unneeded -o "$stage/murmex/libmurmex.so.1" "$build/bindings/c/libmurmex.so.1"

rm -f "$root"/dist/murmex-*.whl
cd "$stage"
# Quiet unless it fails: setuptools warns of its own beta features.
/usr/bin/python3 -m build --wheel --no-isolation --outdir "$root/dist" . >build.log 2>&1 ||
    { cat build.log >&2; exit 1; }
ls "$root"/dist/murmex-"$version"-*.whl
