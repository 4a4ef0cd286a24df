#!/usr/bin/env bash
# Builds the manual into BUILD/docs/html: docs/ is copied into BUILD/docs/src,
# the generated pages are written beside the written ones there (each tool
# command's page from the same --help the man pages are made from, the C and
# C++ reference from Doxygen's XML), and Sphinx builds it with every warning
# an error. Then every link between the pages, and every anchor one names,
# must lead somewhere.
# Usage: build_docs.sh BUILD [OUT]  (OUT defaults to BUILD/docs)
set -euo pipefail
build=$(realpath "$1")
source_dir=$(realpath "$(dirname "$0")/..")
out=$(realpath -m "${2:-$build/docs}")

rm -rf "$out/src" "$out/html" "$out/doxygen" "$out/doctrees"
mkdir -p "$out"
cp -r "$source_dir/docs" "$out/src"

/usr/bin/python3 "$source_dir/docs/make_tool_pages.py" "$out/src/reference/tools" \
    "$build/tools/cli/murmex"

mkdir -p "$out/doxygen"
sed -e "s|@SOURCE_DIR@|$source_dir|g" -e "s|@OUTPUT_DIR@|$out/doxygen|g" \
    "$source_dir/docs/Doxyfile.in" > "$out/doxygen/Doxyfile"
doxygen "$out/doxygen/Doxyfile" > "$out/doxygen/log.txt"

library=$build/bindings/c/libmurmex.so.1
MURMEX_SOURCE_DIR=$source_dir MURMEX_DOXYGEN_XML=$out/doxygen/xml MURMEX_LIBRARY=$library \
    /usr/bin/python3 -m sphinx -W --keep-going -q -b html -d "$out/doctrees" "$out/src" "$out/html"
# What Sphinx keeps for its next run is no part of the manual.
rm -f "$out/html/.buildinfo"
/usr/bin/python3 "$source_dir/tools/check_doc_links.py" "$out/html"
echo "$out/html/index.html"
