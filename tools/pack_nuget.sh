#!/usr/bin/env bash
# Packs dist/Murmex.VERSION.nupkg with Debian's nuget from the assembly `make
# csharp` built, the Linux library of BUILD and the Windows DLL of
# WINDOWS_BUILD. The Linux library goes in under its unversioned name, the
# one the binding's DllImport("murmex") resolves to; the Mono dllmap beside
# the assembly in the build (to libmurmex.so.1) stays out of the package,
# since the package holds no file of that name.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
windows="$(cd "${2:-build-windows}" && pwd)"
csharp="$build/bindings/csharp"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
stage="$work/files"
# A folder per target: this nuget matches file names without regard to case,
# so Murmex.dll and murmex.dll must not meet in one folder.
mkdir -p "$stage/lib" "$stage/linux-x64" "$stage/win-x64"
cp "$csharp/Murmex.dll" "$csharp/Murmex.xml" "$stage/lib/"
cp -L "$build/bindings/c/libmurmex.so" "$stage/linux-x64/libmurmex.so"
cp "$windows/bindings/c/murmex.dll" "$stage/win-x64/murmex.dll"

mkdir -p "$root/dist"
rm -f "$root/dist/Murmex.$version.nupkg"
nuget pack "$csharp/Murmex.nuspec" -BasePath "$stage" -OutputDirectory "$root/dist" \
    -NoPackageAnalysis -NonInteractive >/dev/null
ls "$root/dist/Murmex.$version.nupkg"
