#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when they are
# missing. As root it runs apt-get itself; otherwise it names what to install.
set -euo pipefail

packages=(
    cmake ninja-build g++ make pkg-config
    libgtest-dev                 # unit tests
    libcli11-dev nlohmann-json3-dev  # the murmex authoring tool
    qt6-base-dev fonts-liberation2   # the Kestrine player (Liberation Sans stands in for Arial)
    fonts-liberation             # the face whose widths window/ measures texts by, for its check
    xvfb xauth                   # a display for the player where none is attached
    graphviz                     # the tests check that murmex graph writes valid dot
    strace                       # the test that the player writes no file
    gettext                      # msgfmt checks the PO files murmex strings exports
    python3-pyatspi at-spi2-core dbus-daemon  # the player read as a screen reader reads it
    neovim                       # a real editor's client against murmex lsp, and its colouring
    help2man                     # the man pages, made from the programs' help
    python3-pytest               # the Python binding's tests
    mono-mcs mono-runtime libmono-system-core4.0-cil  # the C# binding and its tests
)
extra=("$@")  # optional further packages, e.g. clang for the fuzzers

missing=()
for package in "${packages[@]}" "${extra[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
