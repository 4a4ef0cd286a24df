#!/usr/bin/env bash
# Writes dist/com.murmex.murmex-VERSION.tgz, a Unity package as its package
# manager takes it from a tarball: everything under package/, the manifest
# CMake configured, the binding's sources in an assembly definition of their
# own, and the native engine in Plugins/x86_64 for Linux and Windows. A
# package from a tarball is read-only to Unity, which ignores any asset there
# without its .meta file, so each file and folder gets one: from the template
# in bindings/csharp/Unity named by its type (the plugins' ones enable each
# library for its own editor and player only), with a GUID derived from the
# package's name and the path, the same in every build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
windows="$(cd "${2:-build-windows}" && pwd)"
csharp="$root/bindings/csharp"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
package="$stage/package"
mkdir -p "$package/Runtime" "$package/Plugins/x86_64"
cp "$build/bindings/csharp/package.json" "$package/"
cp "$csharp/Murmex.Runtime.asmdef" "$csharp/Runtime/"*.cs "$package/Runtime/"
cp -L "$build/bindings/c/libmurmex.so" "$package/Plugins/x86_64/libmurmex.so"
cp "$windows/bindings/c/murmex.dll" "$package/Plugins/x86_64/murmex.dll"

# The .meta of each path under package/, from the template its type names.
meta_template() {
    if [ -d "$1" ]; then echo folder; else echo "${1##*.}"; fi
}
(cd "$package" && find . -mindepth 1 | sed 's|^\./||') | while read -r path; do
    guid=$(printf 'com.murmex.murmex/%s' "$path" | md5sum | cut -c1-32)
    sed "s/@GUID@/$guid/" "$csharp/Unity/$(meta_template "$package/$path").meta" >"$package/$path.meta"
done

mkdir -p "$root/dist"
tarball="$root/dist/com.murmex.murmex-$version.tgz"
tar -czf "$tarball" -C "$stage" --owner=0 --group=0 --sort=name package
ls "$tarball"
