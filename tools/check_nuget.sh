#!/usr/bin/env bash
# Installs dist/Murmex.VERSION.nupkg as its users do, with `nuget install`
# from a local folder source (no network), then compiles a console program
# against the installed assembly alone and runs it under mono. Mono has no
# runtime-identifier lookup of native assets, so the program's folder gets the
# package's runtimes/linux-x64/native/libmurmex.so beside the exe, as a Mono
# user copies it; LD_LIBRARY_PATH stays unset, so nothing from the build or
# the system can stand in for it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
unset LD_LIBRARY_PATH MONO_PATH

fail() {
    echo "check-nuget: $*" >&2
    exit 1
}

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir "$work/source"
cp "$root/dist/Murmex.$version.nupkg" "$work/source/"
cd "$work"
# Its own HOME, so neither the user's NuGet config nor a cache gets in.
HOME="$work" nuget install Murmex -Version "$version" -Source "$work/source" -OutputDirectory pkgs \
    -NonInteractive -NoCache >/dev/null
package="pkgs/Murmex.$version"
for file in lib/netstandard2.0/Murmex.dll lib/netstandard2.0/Murmex.xml \
    runtimes/linux-x64/native/libmurmex.so runtimes/win-x64/native/murmex.dll; do
    [ -f "$package/$file" ] || fail "the installed package has no $file"
done
file -b "$package/runtimes/win-x64/native/murmex.dll" | grep -q "PE32+.*x86-64" ||
    fail "runtimes/win-x64/native/murmex.dll is not a 64-bit Windows DLL"

mkdir app
mcs -langversion:7 -nologo -warnaserror+ -r:"$package/lib/netstandard2.0/Murmex.dll" \
    -out:app/PlayStep.exe "$root/tools/csharp/PlayStep.cs"
cp "$package/lib/netstandard2.0/Murmex.dll" "$package/runtimes/linux-x64/native/libmurmex.so" app/
# Mono writes its library log to stdout, between the program's own lines.
(cd app && MONO_LOG_LEVEL=debug MONO_LOG_MASK=dll mono PlayStep.exe "$root/examples/demo.chr.txt") \
    >run.log 2>&1 || fail "the program failed: $(grep -iv '^Mono: ' run.log | tail -5)"
grep -v '^Mono: ' run.log
# The library mono loaded must be the package's copy in the program's folder.
grep -q "DllImport loaded library '$work/app/libmurmex.so'" run.log || fail "mono did not load app/libmurmex.so"
echo "check-nuget: Murmex $version installed with nuget and played a step under mono"
