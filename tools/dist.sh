#!/usr/bin/env bash
# Gathers the release artefacts of the version the build was configured with
# in dist/ and writes their SHA256SUMS: the source archive (of the commit
# checked out; uncommitted changes are not in it), the five Debian packages,
# the Python wheel, the npm package, the NuGet package, the Unity package,
# the Windows zip, the VS Code extension and the web runtime. The make
# targets that build them run first; the wheel, npm, NuGet and Unity packages
# are written to dist/ by their own targets. Every artefact must carry the
# one version, read from inside it where it says one.
# Usage: tools/dist.sh BUILD_FOLDER WINDOWS_BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "$1" && pwd)"
windows_build="$(cd "$2" && pwd)"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
dist=$root/dist

fail() {
    echo "dist: $*" >&2
    exit 1
}

mkdir -p "$dist"
rm -f "$dist/SHA256SUMS" "$dist"/*_"$version"_*.deb
git -C "$root" archive --format=tar.gz --prefix="murmex-$version/" \
    --output="$dist/murmex-$version.tar.gz" HEAD
cp "$build"/*_"$version"_*.deb "$dist/"
cp "$windows_build/dist/murmex-$version-windows.zip" "$dist/"
cp "$root/editors/vscode/murmex.vsix" "$dist/murmex-$version.vsix"
tar -czf "$dist/murmex-web-$version.tar.gz" -C "$build/web/share/murmex" web

cd "$dist"
debs=(libmurmex1 libmurmex-dev python3-murmex murmex kestrine)
artefacts=("murmex-$version.tar.gz" "murmex-$version-windows.zip" "murmex-$version.vsix"
    "murmex-web-$version.tar.gz" "murmex-$version-py3-none-linux_x86_64.whl"
    "murmex-$version.tgz" "Murmex.$version.nupkg" "com.murmex.murmex-$version.tgz")
for deb in "${debs[@]}"; do
    found=("${deb}_${version}"_*.deb)
    [ -f "${found[0]}" ] || fail "no $deb package of $version"
    [ "$(dpkg-deb -f "${found[0]}" Version)" = "$version" ] || fail "${found[0]}: another version inside"
    artefacts+=("${found[0]}")
done
for artefact in "${artefacts[@]}"; do
    [ -f "$artefact" ] || fail "$artefact is missing: its make target did not run"
done

# The version each artefact states inside, where it states one.
json_version() {
    /usr/bin/python3 -c 'import json, sys; print(json.load(sys.stdin)["version"])'
}
inside() {
    local artefact=$1 stated=$2
    [ "$stated" = "$version" ] || fail "$artefact says version '$stated', not $version"
}
inside "murmex-$version.tar.gz" "$(tar -xzOf "murmex-$version.tar.gz" "murmex-$version/CMakeLists.txt" |
    sed -n 's/^project(Murmex VERSION \([0-9.]*\).*/\1/p')"
inside "murmex-$version-py3-none-linux_x86_64.whl" "$(unzip -p \
    "murmex-$version-py3-none-linux_x86_64.whl" "murmex-$version.dist-info/METADATA" |
    sed -n 's/^Version: //p')"
inside "murmex-$version.tgz" "$(tar -xzOf "murmex-$version.tgz" package/package.json | json_version)"
inside "com.murmex.murmex-$version.tgz" "$(tar -xzOf "com.murmex.murmex-$version.tgz" \
    package/package.json | json_version)"
inside "Murmex.$version.nupkg" "$(unzip -p "Murmex.$version.nupkg" Murmex.nuspec |
    sed -n 's:.*<version>\(.*\)</version>.*:\1:p')"
inside "murmex-$version.vsix" "$(unzip -p "murmex-$version.vsix" extension/package.json | json_version)"
inside "murmex-web-$version.tar.gz" "$(tar -xzOf "murmex-web-$version.tar.gz" web/package.json |
    json_version)"

sha256sum -- "${artefacts[@]}" >SHA256SUMS
cat SHA256SUMS
