#!/usr/bin/env bash
# Checks dist/com.murmex.murmex-VERSION.tgz as Unity's package manager reads
# a tarball: one package/ root; a manifest with the name, CMake's version, a
# display name and the Unity release; the runtime's assembly definition; the
# native engine for Linux and Windows in Plugins/x86_64; a .meta for every
# file and folder. Then compiles the
# package's Runtime/*.cs with mcs as Unity's compiler sees them: beside a
# public AOT.MonoPInvokeCallbackAttribute like the engine's own, which must
# not collide with the binding's internal one, with warnings as errors.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

fail() {
    echo "check-upm: $*" >&2
    exit 1
}

tarball="$root/dist/com.murmex.murmex-$version.tgz"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
tar -xzf "$tarball" -C "$work"
[ "$(ls "$work")" = package ] || fail "the tarball's root is not package/ alone: $(ls "$work")"
package="$work/package"
for file in package.json Runtime/Murmex.Runtime.asmdef Plugins/x86_64/libmurmex.so Plugins/x86_64/murmex.dll; do
    [ -f "$package/$file" ] || fail "the package has no $file"
done
file -b "$package/Plugins/x86_64/libmurmex.so" | grep -q "ELF 64-bit.*x86-64" || fail "libmurmex.so is not x86-64 ELF"
file -b "$package/Plugins/x86_64/murmex.dll" | grep -q "PE32+.*x86-64" || fail "murmex.dll is not x86-64 PE"

/usr/bin/python3 - "$package" "$version" <<'PY' || fail "a manifest is wrong"
import json, sys
package, version = sys.argv[1], sys.argv[2]
manifest = json.load(open(package + "/package.json"))
expected = {"name": "com.murmex.murmex", "version": version, "displayName": "Murmex", "unity": "2021.3"}
wrong = {k: manifest.get(k) for k, v in expected.items() if manifest.get(k) != v}
if wrong or not manifest.get("description"):
    sys.exit(f"package.json: {wrong or 'no description'}")
asmdef = json.load(open(package + "/Runtime/Murmex.Runtime.asmdef"))
if asmdef.get("name") != "Murmex.Runtime" or asmdef.get("allowUnsafeCode") is not False:
    sys.exit(f"Murmex.Runtime.asmdef: {asmdef}")
PY
# Unity ignores a read-only package's asset without its .meta; GUIDs must be unique.
(cd "$package" && find . -mindepth 1 ! -name '*.meta') | while read -r path; do
    [ -f "$package/$path.meta" ] || fail "$path has no .meta"
done
duplicates=$(cat $(find "$package" -name '*.meta') | sed -n 's/^guid: //p' | sort | uniq -d)
[ -z "$duplicates" ] || fail "GUIDs used twice: $duplicates"

mcs -langversion:7 -nologo -warnaserror+ -target:library -out:"$work/Murmex.Runtime.dll" \
    "$package"/Runtime/*.cs "$root/tools/csharp/UnityAot.cs" || fail "the sources do not compile beside AOT's attribute"
echo "check-upm: com.murmex.murmex $version is a well-formed package whose sources compile as Unity sees them"
