#!/usr/bin/env bash
# Installs the wheel `make wheel` built with pip --no-index into fresh virtual
# environments and tests the installed copy, never the source tree: PYTHONPATH
# and MURMEX_LIBRARY unset, the working folder outside the tree, and the
# package and the library it loaded checked to be the venv's own.
#  - Debian's python3: a venv that sees Debian's modules, for pytest (there is
#    no pytest wheel to install without network); murmex comes from the wheel
#    alone. The binding's pytest suite runs there.
#  - Another python3 first on PATH, if there is one: a plain venv; the suite
#    if that Python has pytest, otherwise the demo loaded and a question chosen.
# Also checks that the wheel, its metadata and the library carry the version
# CMake read from CMakeLists.txt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-build}" && pwd)"
unset PYTHONPATH MURMEX_LIBRARY
export PYTHONDONTWRITEBYTECODE=1

fail() {
    echo "check-wheel: $*" >&2
    exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
wheels=("$root"/dist/murmex-*.whl)
[ ${#wheels[@]} -eq 1 ] && [ -f "${wheels[0]}" ] || fail "expected one wheel in dist/, found: ${wheels[*]}"
wheel="${wheels[0]}"
[[ $(basename "$wheel") == "murmex-$version-py3-none-linux_$(uname -m).whl" ]] ||
    fail "$(basename "$wheel") is not murmex-$version-py3-none-linux_$(uname -m).whl"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"

# Run by each venv's Python, alone and as the suite's pytest plugin (so the
# package the tests import is the one checked): the package and the library
# are the venv's copies, and the wheel's metadata and the library say the
# project's version.
cat >installed.py <<'PYTHON'
import importlib.metadata, os, sys
from pathlib import Path
import murmex
package = Path(murmex.__file__).resolve().parent
assert package.is_relative_to(Path(sys.prefix).resolve()), f"murmex from {package}"
loaded = Path(murmex._native.lib._name).resolve()
assert loaded == package / "libmurmex.so.1", f"library from {loaded}"
versions = {importlib.metadata.version("murmex"), murmex.version(), os.environ["WHEEL_VERSION"]}
assert len(versions) == 1, f"versions differ: {versions}"
print(f"murmex {murmex.version()} from {package}")
PYTHON
export WHEEL_VERSION="$version"

smoke='import murmex, sys
script = murmex.Script.load(sys.argv[1], plain=True)
with script.new_game() as game:
    game.start("Intro")
    game.choose(0)
    assert game.answer, "no answer after a question"
print("demo played a step")'

# check_python LABEL PYTHON [--system-site-packages]
check_python() {
    local label=$1 python=$2
    shift 2
    echo "--- $label: $("$python" -c 'import sys; print(sys.executable, sys.version.split()[0])')"
    rm -rf venv
    "$python" -m venv "$@" venv
    venv/bin/python -m pip install --quiet --no-index --disable-pip-version-check "$wheel"
    venv/bin/python installed.py
    if venv/bin/python -c 'import pytest' 2>/dev/null; then
        venv/bin/python -m pytest -q -p installed "$root/bindings/python/tests"
    else
        echo "no pytest for this Python: the demo smoke test instead"
        venv/bin/python -c "$smoke" "$root/examples/demo.chr.txt"
    fi
}

check_python "Debian's Python" /usr/bin/python3 --system-site-packages
other=$(command -v python3 || true)
if [ -n "$other" ] && [ "$(realpath "$other")" != "$(realpath /usr/bin/python3)" ]; then
    check_python "python3 on PATH" "$other"
else
    echo "--- no other python3 on PATH"
fi
