#!/usr/bin/env bash
# Runs Neovim headless with its own LSP client against `murmex lsp` on the
# demo and on the demo with one planted mistake (see neovim_client.lua).
# Usage: run_neovim_test.sh MURMEX DEMO WORKDIR. Exit 77: no nvim here.
set -euo pipefail
murmex=$1 demo=$2 work=$3
here=$(cd "$(dirname "$0")" && pwd)

if ! command -v nvim >/dev/null; then
    echo "nvim not found: skipped" >&2
    exit 77
fi
rm -rf "$work" && mkdir -p "$work"
cp "$demo" "$work/demo.chr.txt"
# The planted mistake: a hand-over with a misspelt action.
sed '0,/ACT = "ACT_COMM" PARAM = "Mara"/s//ACT = "ACT_COM" PARAM = "Mara"/' "$demo" >"$work/broken.chr.txt"
cmp -s "$demo" "$work/broken.chr.txt" && { echo "mistake not planted" >&2; exit 1; }

cd "$work"
MURMEX="$murmex" REPORT="$work/report.json" timeout 50 \
    nvim --headless --clean -u NONE -i NONE -n \
    -c "luafile $here/neovim_client.lua" -c "cquit 2" </dev/null
