"""Sphinx settings of the manual. tools/build_docs.sh copies docs/ into the
build folder, writes the generated pages beside the written ones (the tools'
reference from their help texts, the C and C++ reference from Doxygen's XML)
and builds from there, so the checkout never holds generated files."""

import os
import re
import sys
from pathlib import Path

project = "Murmex and Kestrine"
author = "The Murmex developers"
_source = Path(os.environ.get("MURMEX_SOURCE_DIR", ".."))
# The one version, as the top project() of CMakeLists.txt gives it.
_cmake = _source / "CMakeLists.txt"
release = re.search(r"project\(\s*murmex\s+VERSION\s+([0-9.]+)", _cmake.read_text(), re.I).group(1)
version = release

extensions = ["myst_parser", "breathe", "sphinx.ext.autodoc"]
source_suffix = {".md": "markdown"}
root_doc = "index"
exclude_patterns = ["man", "examples", "Doxyfile.in", "_build"]

# Links to a heading of another page (`format.md#actions`) resolve like links
# to the page, and a heading or an anchor that is not there is a warning.
myst_heading_anchors = 3
myst_enable_extensions = ["colon_fence"]

# The Python package is documented from its own docstrings, imported from the
# checkout with the built library.
sys.path.insert(0, str(_source / "bindings" / "python"))
autodoc_member_order = "bysource"
autodoc_typehints = "description"

breathe_projects = {"murmex": os.environ.get("MURMEX_DOXYGEN_XML", "_doxygen/xml")}
breathe_default_project = "murmex"
breathe_default_members = ("members",)

html_theme = "alabaster"
html_title = f"Murmex and Kestrine {release}"
html_show_sourcelink = False
html_copy_source = False
