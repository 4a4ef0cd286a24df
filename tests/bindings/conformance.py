#!/usr/bin/python3
"""One conformance run for every binding: each transcript plan is played
through `murmex play` and through each binding's transcript program, and
every program must print the same stdout, byte for byte, and exit with the
same status: once as they stand, and once with --events, each event the game
told a line after the choice that caused it.

    conformance.py --murmex PATH --python PATH [--c PATH] [--csharp PATH]
                   [--js PATH [--node PATH]] --script FILE --plans DIR

A plan's choices are found by playing it with the Python binding (a
`choose "label"` picks the offered question with that label), so the plans
stay the one description of each run. The binding is imported from beside
the Python transcript program; MURMEX_LIBRARY must name the library, and
MURMEX_WEB the web build's folder when --js is given.
"""

from __future__ import annotations

import argparse
import difflib
import os
import subprocess
import sys
from dataclasses import dataclass
from pathlib import Path

START = "Intro"
# The longest any one program may take on the demo; a hang fails the run
# instead of blocking it.
TIMEOUT_SECONDS = 60
# Lines of a diff shown for a mismatch; the first difference is what matters.
DIFF_LINES = 12


class PlanError(Exception):
    pass


def tokens(line: str, where: str) -> list[tuple[str, bool]]:
    """The line's words and quoted texts up to a comment, each with whether
    it was quoted (a quoted number is a label, a bare one a place)."""
    found = []
    position = 0
    while position < len(line):
        character = line[position]
        if character in " \t\r\n":
            position += 1
        elif character == "#":
            break
        elif character == '"':
            text = []
            position += 1
            while True:
                if position >= len(line):
                    raise PlanError(f"{where}: a quoted text is not closed")
                character = line[position]
                if character == "\\" and position + 1 < len(line):
                    text.append(line[position + 1])
                    position += 2
                elif character == '"':
                    position += 1
                    break
                else:
                    text.append(character)
                    position += 1
            found.append(("".join(text), True))
        else:
            end = position
            while end < len(line) and line[end] not in " \t\r\n#\"":
                end += 1
            found.append((line[position:end], False))
            position = end
    return found


@dataclass
class Plan:
    start: str
    choices: list  # an int (counted from 1) or a str (a question's label), with its place
    places: list


def read_plan(path: Path) -> Plan:
    plan = Plan(START, [], [])
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        where = f"{path.name}:{number}"
        parts = tokens(line, where)
        words = [word for word, _ in parts]
        if not words or words[0] == "expect":
            continue
        if words[0] == "start" and len(words) == 2:
            plan.start = words[1]
        elif words[0] == "choose" and len(words) == 2:
            chosen, quoted = parts[1]
            plan.choices.append(chosen if quoted or not chosen.isdigit() else int(chosen))
            plan.places.append(where)
        else:
            raise PlanError(f"{where}: not a plan step: {line.strip()}")
    return plan


def choice_list(plan: Plan, script: Path) -> list[int]:
    """The question numbers the plan chooses, found by playing it."""
    import murmex

    game = murmex.Script.load(script, plain=True).new_game()
    game.start(plan.start)
    numbers = []
    for chosen, where in zip(plan.choices, plan.places):
        labels = [question.label for question in game.questions]
        if isinstance(chosen, int):
            number = chosen
        elif chosen in labels:
            number = labels.index(chosen) + 1
        else:
            raise PlanError(f"{where}: {chosen!r} is not offered; offered: {labels}")
        numbers.append(number)
        if not 1 <= number <= len(labels) or game.choose(number - 1) == murmex.Step.FAILED:
            break  # every program stops here too, with the same status
    return numbers


@dataclass
class Run:
    status: int
    stdout: bytes
    stderr: bytes


def run(command: list[str], environment: dict) -> Run:
    try:
        done = subprocess.run(command, capture_output=True, timeout=TIMEOUT_SECONDS,
                              env=environment, stdin=subprocess.DEVNULL)
    except subprocess.TimeoutExpired:
        return Run(-1, b"", b"timed out")
    except OSError as error:
        return Run(-1, b"", str(error).encode())
    return Run(done.returncode, done.stdout, done.stderr)


def difference(expected: Run, got: Run, name: str) -> str:
    lines = []
    if expected.status != got.status:
        lines.append(f"    exit status {got.status}, murmex's {expected.status}")
    if expected.stdout != got.stdout:
        diff = difflib.unified_diff(
            expected.stdout.decode("utf-8", "replace").splitlines(keepends=True),
            got.stdout.decode("utf-8", "replace").splitlines(keepends=True),
            "murmex play", name, n=1,
        )
        shown = ["    " + line.rstrip("\n") for line in diff]
        lines += shown[:DIFF_LINES]
        if len(shown) > DIFF_LINES:
            lines.append(f"    ... {len(shown) - DIFF_LINES} more diff lines")
        if not shown:
            lines.append("    stdout differs in line endings only")
    if got.stderr and (expected.status != got.status or got.status < 0):
        lines.append("    its stderr: " + got.stderr.decode("utf-8", "replace").strip()[:300])
    return "\n".join(lines)


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--murmex", required=True, help="the murmex tool")
    parser.add_argument("--python", required=True, help="the Python transcript.py")
    parser.add_argument("--c", help="the C transcript program")
    parser.add_argument("--csharp", help="the C# Transcript.exe, run with mono")
    parser.add_argument("--js", help="the JavaScript transcript.mjs, run with node")
    parser.add_argument("--node", default="node", help="the node that runs --js")
    parser.add_argument("--script", required=True, type=Path, help="the demo script (plain)")
    parser.add_argument("--plans", required=True, type=Path, help="the folder of .plan files")
    options = parser.parse_args()

    python_package = str(Path(options.python).resolve().parent.parent)
    sys.path.insert(0, python_package)
    try:
        import murmex  # noqa: F401 - the plans' choices are found through it
    except ImportError as error:
        print(f"the Python binding does not load: {error}")
        print("0 passed, 1 failed")
        return 1
    environment = dict(os.environ)
    environment["PYTHONPATH"] = os.pathsep.join(
        filter(None, [python_package, environment.get("PYTHONPATH")]))

    bindings = [("python", [sys.executable, options.python])]
    if options.c:
        bindings.append(("c", [options.c]))
    else:
        print("c: skipped, no --c given")
    if options.csharp:
        bindings.append(("csharp", ["mono", options.csharp]))
    else:
        print("csharp: skipped, no --csharp given")
    if options.js:
        bindings.append(("js", [options.node, options.js]))
    else:
        print("js: skipped, no --js given")

    plans = sorted(options.plans.glob("*.plan"))
    if not plans:
        print(f"no .plan files in {options.plans}")
        return 1
    passed = failed = 0
    for path in plans:
        try:
            plan = read_plan(path)
            numbers = choice_list(plan, options.script)
            if not numbers:
                raise PlanError(f"{path.name}: chooses nothing")
        except Exception as error:  # a plan that can't be played fails every binding
            print(f"{path.name}: FAILED to derive its choices: {error}")
            failed += len(bindings)
            continue
        listed = ",".join(str(number) for number in numbers)
        # Once as the transcripts stand, once with each event a line.
        for switches in ([], ["--events"]):
            label = path.name + (" " + " ".join(switches) if switches else "")
            expected = run([options.murmex, "play", "--plain", *switches, "--start", plan.start,
                            "--choose", listed, str(options.script)], environment)
            if expected.status < 0:
                print(f"{label}: FAILED, murmex did not run: {expected.stderr.decode()}")
                failed += len(bindings)
                continue
            for name, command in bindings:
                got = run(command + ["--plain", *switches, "--start", plan.start,
                                     str(options.script), listed], environment)
                if got.status == expected.status and got.stdout == expected.stdout:
                    passed += 1
                    print(f"{label} {name}: passed")
                else:
                    failed += 1
                    print(f"{label} {name}: FAILED (choices {listed})")
                    print(difference(expected, got, name))
    print(f"{passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
