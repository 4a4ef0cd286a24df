#!/usr/bin/env bash
# Checks the Debian package made by `make package` as a user meets it: lintian
# finds no errors (its warnings are printed); apt-get installs it with its
# dependencies; `murmex --version` names the package's version; the installed
# tool checks the installed demo, plain and scrambled; kestrine plays the demo under Xvfb until a
# signal ends it; the embedding example builds against /usr, through CMake
# and pkg-config. The package is removed again whatever failed.
# Usage: check_package.sh BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

packages=("$build"/murmex_*.deb)
[ ${#packages[@]} -eq 1 ] && [ -f "${packages[0]}" ] ||
    fail "not one murmex_*.deb in $build: run make package first"
package=${packages[0]}
version=$(dpkg-deb -f "$package" Version)

echo "--- lintian"
# Errors fail the check; warnings are shown, not hidden.
lintian --tag-display-limit 0 "$package" | tee "$build/lintian.txt"
if grep -q '^E:' "$build/lintian.txt"; then
    fail "lintian reports errors"
fi

scratch="$(mktemp -d)"
remove() {
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq murmex >/dev/null || true
    rm -rf "$scratch"
}
trap remove EXIT

echo "--- apt-get install $package"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$package" >/dev/null

echo "--- the installed programs"
[ "$(murmex --version)" = "murmex $version" ] || fail "murmex --version: $(murmex --version)"
# The demo as written (plain) and as the player reads it (scrambled).
murmex check --plain /usr/share/murmex/demo.chr.txt
murmex check /usr/share/murmex/data.chr
for page in man1/murmex.1.gz man1/murmex-preview.1.gz man6/kestrine.6.gz; do
    [ -f "/usr/share/man/$page" ] || fail "the man page $page is missing"
done
# The player runs until the signal ends it, with status 0 where the demo
# loaded; an error box up would make it 255, an early end anything else.
status=0
(cd /usr/share/murmex && xvfb-run -a timeout --preserve-status -s TERM 3 kestrine) || status=$?
[ $status -eq 0 ] || fail "kestrine on the demo ended with status $status"

echo "--- the embedding example against /usr"
cmake -S "$root/examples/embed" -B "$scratch/package" -G Ninja >/dev/null
found=$(sed -n 's/^Murmex_DIR:PATH=//p' "$scratch/package/CMakeCache.txt")
[[ $found == /usr/* ]] || fail "find_package used $found, not /usr"
cmake --build "$scratch/package" >/dev/null
"$scratch/package/embed" >/dev/null
# shellcheck disable=SC2046 # pkg-config prints separate words
c++ -std=c++20 "$root/examples/embed/main.cpp" $(pkg-config --cflags --libs murmex) \
    -o "$scratch/embed"
"$scratch/embed" >/dev/null
echo "check-package: ok"
