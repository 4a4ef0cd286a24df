#!/usr/bin/env bash
# Fails, listing the files, when a C++ source of the project is not formatted
# as .clang-format says. Run tools/format.sh (or clang-format -i FILE) to fix.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c')
unformatted=()
for file in "${files[@]}"; do
    if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done
if [ ${#unformatted[@]} -ne 0 ]; then
    printf 'not formatted: %s\n' "${unformatted[@]}" >&2
    echo "${#unformatted[@]} of ${#files[@]} files need clang-format" >&2
    exit 1
fi
echo "format: ${#files[@]} files as .clang-format says"
