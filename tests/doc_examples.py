#!/usr/bin/python3
"""Runs every example of the README and the manual as it stands, so that
what the pages show is what the programs do today.

    doc_examples.py --murmex PATH --python PATH --cxx PATH --include DIR...
        --static LIB --cc PATH --shared LIB [--mcs PATH --mono PATH
        --csharp-dll DLL] [--node PATH --web DIR] [--only FILE] [--all]

An example is a fenced block whose language is one of:
  console    a shell session: `$ ` lines are commands, the lines after each
             its expected output (standard output and error together); a line
             holding only `...` stands for any number of lines. All sessions
             of one page run in order in one bash process.
  c, cpp, python, csharp, js
             a whole program, built and run against the build; it must exit 0.
Every other block is shown, not run. Each page runs in a fresh scratch folder
holding a copy of examples/ and docs/examples/, where `examples` names the
folder itself. A failure is reported as FILE:LINE and the run goes on; the
exit status is 1 if anything failed. A language whose compiler, runtime or
binding is missing here is skipped with a note, unless --all is given (CI),
where that counts as a failure.
"""

from __future__ import annotations

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
from dataclasses import dataclass
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
PROGRAM_LANGUAGES = ("c", "cpp", "python", "csharp", "js")
RUN_LANGUAGES = ("console", *PROGRAM_LANGUAGES)
SOURCE_NAMES = {"c": "game.c", "cpp": "game.cpp", "python": "game.py", "csharp": "Game.cs",
                "js": "game.mjs"}
# Generous for one page, yet the whole manual stays well under two minutes.
PAGE_SECONDS = 60
PROGRAM_SECONDS = 60
# Printed after each command, to cut one process's output into answers; no
# program prints it, and it needs no newline before it.
MARK = "\x1eDOC-EXAMPLE-END\x1e"


@dataclass
class Block:
    page: Path
    line: int          # of the opening fence, counted from 1
    language: str
    lines: list[str]   # the text between the fences, without newlines


@dataclass
class Command:
    line: int
    text: str
    expected: list[str]


def blocks(page: Path) -> list[Block]:
    """The page's fenced blocks of a language that is run. Fences of three or
    more backticks or tildes; a block closes at a fence of the same character
    at least as long."""
    found: list[Block] = []
    opening = None
    for number, line in enumerate(page.read_text(encoding="utf-8").splitlines(), 1):
        if opening is None:
            match = re.match(r"^(`{3,}|~{3,})\s*([^\s`]*)\s*$", line)
            if match:
                opening = match.group(1)
                found.append(Block(page, number, match.group(2), []))
        elif re.match(rf"^{re.escape(opening[0])}{{{len(opening)},}}\s*$", line):
            opening = None
        else:
            found[-1].lines.append(line)
    return [block for block in found if block.language in RUN_LANGUAGES]


def commands(block: Block) -> list[Command]:
    """A console block's commands, each with the output the page shows."""
    session: list[Command] = []
    here_end = None  # the word that ends a here-document being read
    for offset, line in enumerate(block.lines, 1):
        if here_end is not None:
            session[-1].text += "\n" + line
            here_end = None if line == here_end else here_end
        elif line.startswith("$ "):
            session.append(Command(block.line + offset, line[2:], []))
            here = re.search(r"<<-?\s*'?(\w+)'?\s*$", line)
            here_end = here.group(1) if here else None
        elif session:
            session[-1].expected.append(line)
    return session


def matches(expected: list[str], actual: list[str]) -> bool:
    """Whether the lines agree, `...` standing for any run of lines."""
    if not expected:
        return not actual
    if expected[0] == "...":
        return any(matches(expected[1:], actual[skip:]) for skip in range(len(actual) + 1))
    return bool(actual) and expected[0] == actual[0] and matches(expected[1:], actual[1:])


def scratch(parent: Path, name: str) -> Path:
    """A fresh folder with the examples in it, `examples` naming it itself,
    and its own HOME, so nothing of the developer's settings leaks in."""
    folder = parent / name
    shutil.copytree(ROOT / "examples", folder, symlinks=True)
    extra = ROOT / "docs" / "examples"
    if extra.is_dir():
        shutil.copytree(extra, folder, symlinks=True, dirs_exist_ok=True)
    (folder / "examples").symlink_to(".")
    (folder / ".home").mkdir()
    return folder


def environment(options, folder: Path) -> dict[str, str]:
    env = dict(os.environ)
    shared = Path(options.shared)
    env.update({
        "PATH": f"{Path(options.murmex).parent}{os.pathsep}{env.get('PATH', '')}",
        "LC_ALL": "C.UTF-8",
        "HOME": str(folder / ".home"),
        # The Python binding, and the shared library it and C programs load.
        "PYTHONPATH": str(ROOT / "bindings" / "python"),
        "PYTHONDONTWRITEBYTECODE": "1",
        "MURMEX_LIBRARY": str(shared),
        "LD_LIBRARY_PATH": str(shared.parent),
    })
    env.pop("CDPATH", None)
    return env


def location(block: Block) -> str:
    return f"{relative(block.page)}:{block.line}"


def relative(page: Path) -> str:
    try:
        return str(page.relative_to(ROOT))
    except ValueError:
        return str(page)


def run_sessions(page: Path, sessions: list[Block], options, parent: Path) -> int:
    """Runs the page's console blocks in one bash process; the number of
    commands whose output differs from the page's."""
    steps = [(block, command) for block in sessions for command in commands(block)]
    if not steps:
        return 0
    if not Path(options.murmex).is_file():
        print(f"{relative(page)}: {len(steps)} console commands cannot run: "
              f"{options.murmex} missing")
        return len(steps)
    folder = scratch(parent, "console")
    script = "exec 2>&1 </dev/null\n" + "".join(
        f"{command.text}\nprintf '{MARK}'\n" for _, command in steps)
    try:
        done = subprocess.run(["bash", "-c", script], cwd=folder, env=environment(options, folder),
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              timeout=PAGE_SECONDS)
        outputs = done.stdout.decode("utf-8", "replace").split(MARK)
    except subprocess.TimeoutExpired as timeout:
        outputs = (timeout.stdout or b"").decode("utf-8", "replace").split(MARK)
        outputs[-1] += f"(stopped after {PAGE_SECONDS} s)"
    failures = 0
    for index, (block, command) in enumerate(steps):
        if index >= len(outputs):
            print(f"{relative(page)}:{command.line}: `{command.text}` never ran: "
                  "the shell stopped before it")
            failures += 1
            continue
        # A page cannot show the blank lines that end an output, as its
        # block ends there.
        actual = without_trailing_blanks(outputs[index].splitlines())
        if command.expected and not matches(command.expected, actual):
            print(f"{relative(page)}:{command.line}: `{command.text}` printed otherwise\n"
                  "  expected:\n" + indent(command.expected) + "\n  got:\n" + indent(actual))
            failures += 1
    return failures


def without_trailing_blanks(lines: list[str]) -> list[str]:
    while lines and not lines[-1].strip():
        lines = lines[:-1]
    return lines


def indent(lines: list[str]) -> str:
    return "\n".join(f"    | {line}" for line in lines) or "    (nothing)"


def present(part: str | None) -> bool:
    """Whether a program (found on PATH) or a built file is there."""
    return bool(part) and (Path(part).is_file() or shutil.which(part) is not None)


def program_steps(language: str, source: Path, options) -> list[list[str]] | str:
    """The commands that build and run one program, or why it cannot run here."""
    folder = source.parent
    includes = [f"-I{directory}" for directory in options.include]
    needed = {"cpp": [options.cxx, options.static], "c": [options.cc, options.shared],
              "python": [options.python, options.shared],
              "csharp": [options.mcs, options.mono, options.csharp_dll],
              "js": [options.node, options.web and str(Path(options.web) / "murmex.mjs")]}
    missing = [str(part) for part in needed[language] if not present(part)]
    if missing:
        return f"{', '.join(missing)} missing"
    if language == "cpp":
        return [[options.cxx, "-std=c++20", "-Wall", "-Wextra", "-Werror", *includes,
                 source.name, options.static, "-o", "game"], ["./game"]]
    if language == "c":
        return [[options.cc, "-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", *includes,
                 source.name, options.shared, "-o", "game"], ["./game"]]
    if language == "python":
        return [[options.python, source.name]]
    if language == "csharp":
        dll = Path(options.csharp_dll)
        for beside in (dll, dll.with_name(dll.name + ".config")):
            if beside.is_file():
                shutil.copy(beside, folder)
        return [[options.mcs, "-langversion:7", "-nologo", "-warnaserror+", f"-r:{dll.name}",
                 "-out:Game.exe", source.name], [options.mono, "Game.exe"]]
    for name in ("murmex.mjs", "murmex.wasm"):
        shutil.copy(Path(options.web) / name, folder)
    return [[options.node, source.name]]


def run_program(block: Block, options, parent: Path, skipped: set[str]) -> str:
    """Builds and runs one program block: "passed", "failed" or "skipped"."""
    folder = scratch(parent, f"program-{block.line}")
    source = folder / SOURCE_NAMES[block.language]
    source.write_text("\n".join(block.lines) + "\n", encoding="utf-8")
    steps = program_steps(block.language, source, options)
    if isinstance(steps, str):
        if options.all:
            print(f"{location(block)}: {block.language} cannot run here: {steps}")
            return "failed"
        if block.language not in skipped:
            print(f"skipped {block.language}: {steps}")
            skipped.add(block.language)
        return "skipped"
    for step in steps:
        try:
            done = subprocess.run(step, cwd=folder, env=environment(options, folder),
                                  stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                  timeout=PROGRAM_SECONDS)
        except subprocess.TimeoutExpired:
            print(f"{location(block)}: `{' '.join(step)}` ran over {PROGRAM_SECONDS} s")
            return "failed"
        if done.returncode != 0:
            print(f"{location(block)}: {block.language} program: `{' '.join(step)}` exited with "
                  f"{done.returncode}, expected 0\n" +
                  indent((done.stdout + done.stderr).splitlines()))
            return "failed"
    return "passed"


def pages(only: str | None) -> list[Path]:
    if only:
        return [Path(only).resolve()]
    manual = sorted(page for page in (ROOT / "docs").rglob("*.md")
                    if (ROOT / "docs" / "man") not in page.parents)
    return [ROOT / "README.md", *manual]


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    # Absolute, as the examples run in scratch folders.
    path = lambda text: str(Path(text).resolve())  # noqa: E731
    parser.add_argument("--murmex", type=path, required=True)
    parser.add_argument("--python", default=sys.executable)
    parser.add_argument("--cxx", default="c++")
    parser.add_argument("--include", type=path, action="append", default=[])
    parser.add_argument("--static", type=path, required=True)
    parser.add_argument("--cc", default="cc")
    parser.add_argument("--shared", type=path, required=True)
    parser.add_argument("--mcs")
    parser.add_argument("--mono")
    parser.add_argument("--csharp-dll", type=path)
    parser.add_argument("--node")
    parser.add_argument("--web", type=path)
    parser.add_argument("--only", metavar="FILE", help="run the examples of this page alone")
    parser.add_argument("--all", action="store_true",
                        help="a language that cannot run here is a failure, not a skip")
    options = parser.parse_args()
    counts = {"passed": 0, "failed": 0, "skipped": 0}
    skipped: set[str] = set()
    with tempfile.TemporaryDirectory(prefix="doc-examples-") as temporary:
        for number, page in enumerate(pages(options.only)):
            found = blocks(page)
            if not found:
                continue
            parent = Path(temporary) / str(number)
            parent.mkdir()
            sessions = [block for block in found if block.language == "console"]
            differing = run_sessions(page, sessions, options, parent)
            counts["failed"] += differing
            counts["passed"] += sum(len(commands(block)) for block in sessions) - differing
            for block in found:
                if block.language != "console":
                    counts[run_program(block, options, parent, skipped)] += 1
    # One summary line, last, where a log is read for it.
    print(f"doc_examples: {counts['passed']} passed, {counts['failed']} failed, "
          f"{counts['skipped']} skipped")
    return 1 if counts["failed"] else 0


if __name__ == "__main__":
    sys.exit(main())
