#!/usr/bin/env bash
# Fails when a function under OBJECT_DIR uses a stack frame of LIMIT bytes or more,
# or one whose size the compiler cannot bound. A game may load scripts on a
# worker thread with a small stack; with every frame under LIMIT and the load
# at most a handful of calls deep, its deepest stack stays within a few KiB.
#   tools/check_stack_usage.sh OBJECT_DIR LIMIT
# OBJECT_DIR holds the .su files GCC writes with -fstack-usage.
set -euo pipefail
dir=${1:?usage: $0 OBJECT_DIR LIMIT}
limit=${2:?usage: $0 OBJECT_DIR LIMIT}

mapfile -t files < <(find "$dir" -name '*.su')
if [ ${#files[@]} -eq 0 ]; then
    echo "no stack usage files under $dir" >&2
    exit 1
fi
# Each line: LOCATION:FUNCTION <tab> BYTES <tab> static|dynamic[,bounded]
cat "${files[@]}" | awk -F'\t' -v limit="$limit" '
    $2 + 0 >= limit || $3 == "dynamic" { print "too deep: " $0; bad = 1 }
    $2 + 0 > largest { largest = $2 + 0; where = $1 }
    END {
        printf "largest frame: %d bytes (%s); limit %d\n", largest, where, limit
        exit bad
    }'
