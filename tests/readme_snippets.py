#!/usr/bin/python3
"""Runs the README's embedding snippets, one for each language, as a game
programmer who copies them would: each in a scratch folder that holds the
demo script, each required to exit with 0 and print the demo's first answer.

    readme_snippets.py --readme FILE --demo FILE --python PATH
        --cxx PATH --include DIR... --static LIB --cc PATH --shared LIB
        [--mcs PATH --mono PATH --csharp-dll DLL] [--node PATH --web DIR]

The C++, C and C# snippets are fragments: each is wrapped in the least code
that makes it a program. The Python binding is found through PYTHONPATH and
MURMEX_LIBRARY, the shared library through LD_LIBRARY_PATH.
"""

from __future__ import annotations

import argparse
import re
import shutil
import subprocess
import sys
import tempfile
from pathlib import Path

SECTION = "## Embedding the engine"
LANGUAGES = ("cpp", "c", "python", "csharp", "js")
# What a fresh game of the demo shows first.
FIRST_ANSWER = ("Brackenford square at dusk. Smoke rises from the smithy, and Mara's "
                "herb garden smells of thyme. Where will you go?")
TIMEOUT_SECONDS = 120

WRAPPERS = {
    "cpp": "#include <cstdio>\n#include <murmex/game.h>\n#include <murmex/script.h>\n"
           "int main() {\n{body}return 0;\n}\n",
    "c": "#include <stdio.h>\n#include <murmex/murmex.h>\nint main(void) {\n{body}return 0;\n}\n",
    "csharp": "using System;\nstatic class Snippet {\nstatic void Main() {\n{body}}\n}\n",
}
FILE_NAMES = {"cpp": "game.cpp", "c": "game.c", "python": "game.py", "csharp": "Game.cs",
              "js": "game.mjs"}


def snippets(readme: str) -> dict[str, str]:
    """The fenced blocks of the section's own text (up to its first
    subheading), by their language tag; each tag must occur once."""
    found: dict[str, list[str]] = {}
    lines = Path(readme).read_text(encoding="utf-8").splitlines(keepends=True)
    inside, fence = False, None
    for line in lines:
        if not inside:
            inside = line.rstrip() == SECTION
            continue
        if fence is None:
            if line.startswith("#"):
                break
            match = re.match(r"```(\w+)\s*$", line)
            if match:
                fence = match.group(1)
                found.setdefault(fence, []).append("")
        elif line.startswith("```"):
            fence = None
        else:
            found[fence][-1] += line
    missing = [language for language in LANGUAGES if len(found.get(language, [])) != 1]
    if missing:
        sys.exit(f"{readme}: '{SECTION}' needs one block of each of {', '.join(missing)}")
    return {language: found[language][0] for language in LANGUAGES}


def run(command: list[str], folder: Path) -> subprocess.CompletedProcess:
    return subprocess.run(command, cwd=folder, capture_output=True, text=True,
                          timeout=TIMEOUT_SECONDS, stdin=subprocess.DEVNULL)


def commands(language: str, source: Path, options) -> list[list[str]] | None:
    """The steps that build and run one snippet, or None to skip it."""
    folder = source.parent
    includes = [f"-I{directory}" for directory in options.include]
    if language == "cpp":
        return [[options.cxx, "-std=c++20", "-Wall", "-Wextra", "-Werror", *includes,
                 source.name, options.static, "-o", "game"], ["./game"]]
    if language == "c":
        return [[options.cc, "-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", *includes,
                 source.name, options.shared, "-o", "game"], ["./game"]]
    if language == "python":
        return [[options.python, source.name]]
    if language == "csharp":
        if not options.csharp_dll:
            return None
        dll = Path(options.csharp_dll)
        for beside in (dll, dll.with_name(dll.name + ".config")):
            shutil.copy(beside, folder)
        return [[options.mcs, "-langversion:7", "-nologo", "-warnaserror+", f"-r:{dll.name}",
                 "-out:Game.exe", source.name], [options.mono, "Game.exe"]]
    if not options.web:
        return None
    for name in ("murmex.mjs", "murmex.wasm"):
        shutil.copy(Path(options.web) / name, folder)
    return [[options.node, source.name]]


def check(language: str, code: str, options) -> str | None:
    """Why the snippet failed, or None when it passed."""
    with tempfile.TemporaryDirectory(prefix=f"snippet-{language}-") as scratch:
        folder = Path(scratch)
        shutil.copy(options.demo, folder / "demo.chr.txt")
        source = folder / FILE_NAMES[language]
        wrapper = WRAPPERS.get(language, "{body}")
        source.write_text(wrapper.replace("{body}", code), encoding="utf-8")
        steps = commands(language, source, options)
        if steps is None:
            print(f"skipped {language}: not built here")
            return None
        for step in steps:
            done = run(step, folder)
            if done.returncode != 0:
                return (f"`{' '.join(step)}` exited with {done.returncode}\n"
                        f"{done.stdout}{done.stderr}")
        if FIRST_ANSWER not in done.stdout:
            return f"printed no first answer:\n{done.stdout}{done.stderr}"
    print(f"ok {language}")
    return None


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    # Absolute, as the snippets build in their scratch folders.
    path = lambda text: str(Path(text).resolve())  # noqa: E731
    parser.add_argument("--readme", type=path, required=True)
    parser.add_argument("--demo", type=path, required=True)
    parser.add_argument("--python", required=True)
    parser.add_argument("--cxx", required=True)
    parser.add_argument("--include", type=path, action="append", required=True)
    parser.add_argument("--static", type=path, required=True)
    parser.add_argument("--cc", required=True)
    parser.add_argument("--shared", type=path, required=True)
    parser.add_argument("--mcs")
    parser.add_argument("--mono")
    parser.add_argument("--csharp-dll", type=path)
    parser.add_argument("--node")
    parser.add_argument("--web", type=path)
    options = parser.parse_args()
    failures = 0
    for language, code in snippets(options.readme).items():
        failure = check(language, code, options)
        if failure:
            print(f"FAILED {language}: {failure}")
            failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
