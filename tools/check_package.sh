#!/usr/bin/env bash
# Checks the Debian packages made by `make package` as users meet them.
# lintian finds no errors over the five, nor the warnings listed in
# `forbidden` (its other warnings are printed). Then each package is installed
# with apt-get on a machine that has none of them, with libmurmex1 where it
# needs the library, proves what it is for, and is purged again:
# - libmurmex1: ldconfig knows the library (its trigger ran);
# - libmurmex-dev: a C program (through pkg-config) and the embedding example
#   in C++ (through CMake and pkg-config) build against /usr and play the demo;
# - python3-murmex: Debian's Python imports the package of this version and
#   plays the demo as the C program did;
# - murmex: `murmex --version` names the version, the tool checks the
#   installed demo (plain and scrambled) and publishes it, and `murmex
#   preview` says the window comes with kestrine;
# - kestrine: plays the build's demo data under Xvfb until a signal ends it.
# Nothing but kestrine pulls in Qt. All five are purged at the end too,
# whatever failed.
# Usage: check_package.sh BUILD_FOLDER
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
demo="$root/examples/demo.chr.txt"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

names=(libmurmex1 libmurmex-dev python3-murmex murmex kestrine)
declare -A deb
for name in "${names[@]}"; do
    files=("$build/${name}"_*.deb)
    if [ ${#files[@]} -ne 1 ] || [ ! -f "${files[0]}" ]; then
        fail "not one ${name}_*.deb in $build: run make package first"
    fi
    deb[$name]=${files[0]}
done
version=$(dpkg-deb -f "${deb[murmex]}" Version)

echo "--- lintian"
# Errors fail the check, and so do the warnings the single package once had.
forbidden='link-to-shared-library-in-wrong-package|maintscript-calls-ldconfig|'
forbidden+='package-name-doesnt-match-sonames|pkg-config-unavailable-for-cross-compilation|'
forbidden+='maintainer-script-empty'
lintian --tag-display-limit 0 "${deb[@]}" | tee "$build/lintian.txt"
if grep -q '^E:' "$build/lintian.txt"; then
    fail "lintian reports errors"
fi
if grep -Eq "^W: [^ ]+ ($forbidden)( |$)" "$build/lintian.txt"; then
    fail "lintian gives a warning the packages must not have"
fi

scratch="$(mktemp -d)"
# dpkg, unlike apt-get, purges a package it does not know without failing.
purge() {
    dpkg --purge "${names[@]}" >/dev/null 2>&1 || true
}
trap 'purge; rm -rf "$scratch"' EXIT

# Installs the package files named, and nothing else of this project.
install_only() {
    purge
    local name
    for name in "${names[@]}"; do
        if dpkg-query -W -f '${db:Status-Status}\n' "$name" 2>/dev/null | grep -qv not-installed; then
            fail "$name is still installed"
        fi
    done
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$@" >/dev/null
}

# Fails when what the installed package NAME depends on, recursively, names Qt.
no_qt() {
    local depends
    depends=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
        --no-breaks --no-replaces --no-enhances "$1")
    grep -q '^libc6$' <<<"$depends" || fail "apt-cache found no dependencies of $1"
    if grep -q libqt6 <<<"$depends"; then
        fail "$1 pulls in Qt: $(grep libqt6 <<<"$depends" | sort -u | xargs)"
    fi
}

need_files() {
    local file
    for file in "$@"; do
        [ -f "$file" ] || fail "$file is missing"
    done
}

echo "--- libmurmex1"
install_only "${deb[libmurmex1]}"
# /lib is /usr/lib where /usr is merged, and ldconfig may name either.
grep -Eq "libmurmex\.so\.1 .*=> (/usr)?/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/" <<<"$(ldconfig -p)" ||
    fail "ldconfig does not know libmurmex.so.1"
no_qt libmurmex1

echo "--- libmurmex-dev"
install_only "${deb[libmurmex1]}" "${deb[libmurmex-dev]}"
no_qt libmurmex-dev
# shellcheck disable=SC2046 # pkg-config prints separate words
cc -std=c99 -pedantic-errors "$root/tests/bindings/c_transcript.c" $(pkg-config --cflags --libs murmex) \
    -o "$scratch/c_transcript"
from_c=$("$scratch/c_transcript" --plain "$demo" 1)
cmake -S "$root/examples/embed" -B "$scratch/package" -G Ninja >/dev/null
found=$(sed -n 's/^Murmex_DIR:PATH=//p' "$scratch/package/CMakeCache.txt")
[[ $found == /usr/* ]] || fail "find_package used $found, not /usr"
cmake --build "$scratch/package" >/dev/null
"$scratch/package/embed" >/dev/null
# shellcheck disable=SC2046
c++ -std=c++20 "$root/examples/embed/main.cpp" $(pkg-config --cflags --libs murmex) \
    -o "$scratch/embed"
"$scratch/embed" >/dev/null

echo "--- python3-murmex"
install_only "${deb[libmurmex1]}" "${deb[python3-murmex]}"
no_qt python3-murmex
# From the scratch folder, so that only the installed package can be imported.
cd "$scratch"
python=/usr/bin/python3
found=$(PYTHONDONTWRITEBYTECODE=1 "$python" -c \
    'import sys, murmex; print(murmex.__file__ if murmex.version() == sys.argv[1] else murmex.version())' \
    "$version")
[[ $found == /usr/lib/python3/dist-packages/murmex/* ]] || fail "python3 imported murmex: $found"
from_python=$(PYTHONDONTWRITEBYTECODE=1 "$python" "$root/bindings/python/examples/transcript.py" \
    --plain "$demo" 1)
[ "$from_python" = "$from_c" ] || fail "Python and C played the demo differently"

echo "--- murmex"
install_only "${deb[murmex]}"
no_qt murmex
[ "$(murmex --version)" = "murmex $version" ] || fail "murmex --version: $(murmex --version)"
need_files /usr/share/man/man1/murmex.1.gz /usr/share/doc/murmex/html/index.html \
    /usr/share/doc/murmex/html/reference/tools/murmex-check.html
# The demo as written (plain) and as the player reads it (scrambled).
murmex check --plain /usr/share/murmex/demo.chr.txt
murmex check /usr/share/murmex/data.chr
murmex publish /usr/share/murmex/data.chr -o "$scratch/demo.html"
grep -qi '^<!doctype html>' "$scratch/demo.html" || fail "murmex publish wrote no page"
if murmex preview /usr/share/murmex/demo.chr.txt 2>"$scratch/preview.txt"; then
    fail "murmex preview ran without its window installed"
fi
grep -q 'install the kestrine package' "$scratch/preview.txt" ||
    fail "murmex preview without its window said: $(cat "$scratch/preview.txt")"

echo "--- kestrine"
install_only "${deb[kestrine]}"
need_files /usr/bin/murmex-preview /usr/share/man/man6/kestrine.6.gz \
    /usr/share/man/man1/murmex-preview.1.gz
# The player runs until the signal ends it, with status 0 where the demo
# loaded; an error box up would make it 255, an early end anything else.
status=0
(cd "$build/examples" && xvfb-run -a timeout --preserve-status -s TERM 3 kestrine) || status=$?
[ $status -eq 0 ] || fail "kestrine on the demo ended with status $status"
echo "check-package: ok"
