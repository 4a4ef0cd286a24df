#!/usr/bin/python3
"""Writes the manual's reference of the tool's commands from the programs'
own help, the same --help text the man pages are made from, so that neither
can fall behind the programs: one page per command of `murmex --help`'s
SUBCOMMANDS, with the help of its own subcommands (`strings export`) beside
it (`murmex preview` is the preview window's own help, handed on).

    make_tool_pages.py OUT_DIR MURMEX
"""

import re
import subprocess
import sys
from pathlib import Path


def help_text(*command: str) -> str:
    done = subprocess.run([*command, "--help"], capture_output=True, text=True, check=True)
    return done.stdout.rstrip() + "\n"


def subcommands(text: str) -> list[tuple[str, str]]:
    """The (name, summary) pairs a help text lists under SUBCOMMANDS."""
    listed, inside = [], False
    for line in text.splitlines():
        if re.match(r"(?i)^subcommands:", line):
            inside = True
        elif inside and line.strip():
            if not line.startswith(" "):
                break
            name, _, summary = line.strip().partition(" ")
            listed.append((name, summary.strip()))
    return listed


def page(title: str, purpose: str, sections: list[tuple[str, str]]) -> str:
    parts = [f"# {title}\n\n{purpose}\n"]
    for heading, text in sections:
        if heading:
            parts.append(f"\n## {heading}\n")
        parts.append(f"\n```text\n{text}```\n")
    return "".join(parts)


def sentence(summary: str) -> str:
    return summary[:1].lower() + summary[1:].rstrip(".") if summary else "its own job"


def main() -> int:
    out, murmex = sys.argv[1:]
    folder = Path(out)
    folder.mkdir(parents=True, exist_ok=True)
    for name, summary in subcommands(help_text(murmex)):
        text = help_text(murmex, name)
        sections = [("", text)]
        for inner, _ in subcommands(text):
            sections.append((f"murmex {name} {inner}", help_text(murmex, name, inner)))
        purpose = (f"This page is the help of `murmex {name}`, the command to "
                   f"{sentence(summary)}: what `murmex {name} --help` prints, and its "
                   f"section of the murmex(1) man page.")
        (folder / f"murmex-{name}.md").write_text(
            page(f"murmex {name}", purpose, sections), encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
