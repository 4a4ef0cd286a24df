#!/usr/bin/env bash
# The shared library exports the C functions and nothing else, and carries the
# name hosts link against (libmurmex.so.1), so that the C++ inside it can
# change without breaking them.
# Usage: check_exports.sh LIBRARY HEADER
set -euo pipefail
library=$1
header=$2
exports=$(nm -D --defined-only "$library" | awk '{print $3}' | sed 's/@.*//' | sort -u)
declared=$(grep -o 'murmex_[a-z_]*(' "$header" | tr -d '(' | sort -u)
if [[ $exports != "$declared" ]]; then
    echo "the exports differ from the header's functions (< exported, > declared):" >&2
    diff <(echo "$exports") <(echo "$declared") >&2 || true
    exit 1
fi
count=$(wc -l <<<"$exports")
soname=$(objdump -p "$library" | awk '$1 == "SONAME" {print $2}')
if [[ $soname != libmurmex.so.1 ]]; then
    echo "SONAME is '$soname', not libmurmex.so.1" >&2
    exit 1
fi
echo "$count C functions exported, SONAME $soname"
