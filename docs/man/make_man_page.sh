#!/usr/bin/env bash
# Writes a program's man page from its own help, so that the page says what
# the program says: help2man turns `PROGRAM --help` into the page, and each
# command that help lists under SUBCOMMANDS gets a section of its own with
# that command's --help, kept as printed.
# Usage: make_man_page.sh PROGRAM VERSION DESCRIPTION OUT
set -euo pipefail
program=$1
version=$2
description=$3
out=$4

sections=$(mktemp)
trap 'rm -f "$sections"' EXIT

# roff reads a backslash as an escape and a line that starts with . or ' as a
# request; a plain '-' may be typeset as a hyphen where a minus is meant.
as_roff() {
    sed -e 's/\\/\\e/g' -e "s/^[.']/\\\\\\&&/" -e 's/-/\\-/g'
}

commands=$("$program" --help | awk 'tolower($0) ~ /^subcommands:/ { listing = 1; next } listing && NF { print $1 }')
for command in $commands; do
    printf '[COMMAND: %s]\n.nf\n' "$(tr '[:lower:]' '[:upper:]' <<<"$command")"
    "$program" "$command" --help | as_roff
    printf '.fi\n'
done >"$sections"

include=()
if [ -s "$sections" ]; then
    include=(--include="$sections")
fi
help2man --no-info --no-discard-stderr --version-string="$version" --name="$description" \
    "${include[@]}" --output="$out" "$program"
