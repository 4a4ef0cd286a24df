#!/usr/bin/env bash
# Installs a build into a fresh temporary prefix and builds the embedding
# example (examples/embed) against it twice, through CMake's find_package and
# through pkg-config, running each; then plays the demo from C (built through
# pkg-config, against the shared library and against the static one) and from
# Python with the installed package; then
# builds the example with the source tree added as a subdirectory, which must
# build the engine library alone and keep its warning flags to itself. Any
# failure fails the check.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
example="$root/examples/embed"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"

fail() {
    echo "check-install: $*" >&2
    exit 1
}

echo "--- cmake --install into a temporary prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

echo "--- find_package(Murmex CONFIG)"
cmake -S "$example" -B "$scratch/package" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
found=$(sed -n 's/^Murmex_DIR:PATH=//p' "$scratch/package/CMakeCache.txt")
[[ $found == "$prefix"/* ]] || fail "find_package used $found, not the fresh install"
cmake --build "$scratch/package" >/dev/null
"$scratch/package/embed"

echo "--- pkg-config"
pc_file=$(find "$prefix" -name murmex.pc)
[ -n "$pc_file" ] || fail "no murmex.pc installed"
export PKG_CONFIG_PATH="$(dirname "$pc_file")"
[ "$(pkg-config --variable=prefix murmex)" = "$prefix" ] \
    || fail "murmex.pc names prefix $(pkg-config --variable=prefix murmex), not $prefix"
# shellcheck disable=SC2046 # pkg-config prints separate words
c++ -std=c++20 "$example/main.cpp" $(pkg-config --cflags --libs murmex) -o "$scratch/embed"
"$scratch/embed"

echo "--- the shared library, from C and from Python"
demo="$root/examples/demo.chr.txt"
libdir=$(dirname "$(find "$prefix" -name 'libmurmex.so.1' | head -n 1)")
[ -n "$libdir" ] || fail "no libmurmex.so.1 installed"
# A C99 program through pkg-config: the shared library, and with --static
# (and a static link) the static library, with nothing from the C++ side
# named by hand.
c_program="$root/tests/bindings/c_transcript.c"
# shellcheck disable=SC2046 # pkg-config prints separate words
cc -std=c99 -pedantic-errors "$c_program" $(pkg-config --cflags --libs murmex) \
    -o "$scratch/c_transcript"
objdump -p "$scratch/c_transcript" | grep -q 'NEEDED.*libmurmex\.so\.1' \
    || fail "pkg-config --libs did not link C against libmurmex.so.1"
# shellcheck disable=SC2046
cc -std=c99 -pedantic-errors -static "$c_program" $(pkg-config --static --cflags --libs murmex) \
    -o "$scratch/c_transcript_static"
if objdump -p "$scratch/c_transcript_static" | grep -q 'NEEDED.*libmurmex'; then
    fail "pkg-config --static linked C against the shared library"
fi
from_c=$(LD_LIBRARY_PATH="$libdir" "$scratch/c_transcript" --plain "$demo" 1)
from_c_static=$("$scratch/c_transcript_static" --plain "$demo" 1)
python=/usr/bin/python3
from_python=$(PYTHONPATH="$prefix/lib/python3/dist-packages" PYTHONDONTWRITEBYTECODE=1 \
    "$python" "$root/bindings/python/examples/transcript.py" --plain "$demo" 1)
[ "$from_c" = "$from_python" ] || fail "C and Python played the demo differently"
[ "$from_c_static" = "$from_c" ] || fail "C against the static library played the demo differently"

echo "--- add_subdirectory"
subdirectory="$scratch/subdirectory"
CXXFLAGS= cmake -S "$example" -B "$subdirectory" -G Ninja -DMURMEX_SOURCE_DIR="$root" >/dev/null
cmake --build "$subdirectory" >/dev/null
"$subdirectory/embed"
built=$(cd "$subdirectory" && find . -name '*.a' -o -name '*.so*' -o -name embed -type f |
    sed 's|^\./||' | sort | xargs)
[ "$built" = "embed murmex/libmurmex.a" ] || fail "as a subdirectory it built: $built"
if ninja -C "$subdirectory" -t commands embed | grep 'main\.cpp' | grep -q -- '-Wextra'; then
    fail "the project's warning flags reached the parent project's targets"
fi
echo "check-install: ok"
