#!/usr/bin/python3
"""Plays a script with a list of choices and prints the transcript, the same
bytes `murmex play --choose` prints: the title, then each situation (who
speaks, the answer, the numbered questions) and each choice made.

    transcript.py [--plain] [--events] [--start NAME] FILE CHOICES   (CHOICES like 1,3,2)

With --events, each event the game tells during a choice is one line after
that choice's "> N" line: "* variable NAME VALUE" (or "NAME removed"),
"* money AMOUNT", "* item-given NAME COUNT", "* item-taken NAME",
"* handover NAME", "* ended", "* restored" or "* reset".

Exit status as the tool's: 0 when the choices ran out, 1 when a choice was
not an offered question's number, 3 when the script did not load, did not
start or failed in a step.
"""

from __future__ import annotations

import sys

import murmex

EXIT_OK = 0
EXIT_REFUSED = 1
EXIT_SCRIPT_FAILED = 3
EXIT_USAGE = 2
START = "Intro"
# More digits than this cannot name one of the few questions offered; the
# tool refuses such an entry without converting it, and so does this.
MAX_CHOICE_DIGITS = 9


def terminal_text(text: str) -> bytes:
    """The UTF-8 text with control characters written as \\xNN, so that a
    carriage return or an escape in a script cannot move the terminal's
    cursor: C0 controls but the tab, DEL, and the C1 controls."""
    shown = bytearray()
    for character in text:
        code = ord(character)
        if (code < 0x20 and character != "\t") or 0x7F <= code < 0xA0:
            shown += b"\\x%02x" % code
        else:
            shown += character.encode("utf-8", "surrogateescape")
    return bytes(shown)


def show_situation(game: murmex.Game, out) -> None:
    out.write(terminal_text(game.character) + b": " + terminal_text(game.answer) + b"\n")
    for number, question in enumerate(game.questions, start=1):
        out.write(b"  %d. " % number + terminal_text(question.label) + b"\n")


def event_line(event: murmex.GameEvent) -> bytes:
    """The transcript's line of one event: the kind's name, then what the
    kind tells."""
    kind = event.kind
    words = [str(kind).encode()]
    if kind in (murmex.EventKind.VARIABLE, murmex.EventKind.ITEM_GIVEN,
                murmex.EventKind.ITEM_TAKEN, murmex.EventKind.HAND_OVER):
        words.append(terminal_text(event.name or ""))
    if kind == murmex.EventKind.VARIABLE:
        words.append(b"%d" % event.value if event.present else b"removed")
    elif kind in (murmex.EventKind.MONEY, murmex.EventKind.ITEM_GIVEN):
        words.append(b"%d" % event.value)
    return b"* " + b" ".join(words) + b"\n"


def choice_hint(count: int) -> str:
    if count == 1:
        return "choose 1, or q to quit."
    return f"choose 1 to {count}, or q to quit."


def play(plain: bool, start: str, path: str, choices: list[str], out, err,
         events: bool = False) -> int:
    try:
        script = murmex.Script.load(path, plain=plain)
    except murmex.LoadError as error:
        err.write(f"{path}:{error.line}: {error.detail or error.message}\n".encode())
        return EXIT_SCRIPT_FAILED
    out.write(terminal_text(script.title) + b"\n\n")
    game = script.new_game()
    try:
        game.start(start)
    except murmex.MurmexError as error:
        out.flush()
        err.write(terminal_text(str(error)) + b"\n")
        return EXIT_SCRIPT_FAILED
    show_situation(game, out)
    told: list[bytes] = []
    if events:
        for kind in murmex.EventKind:
            game.on(kind, lambda event: told.append(event_line(event)))

    for position, raw in enumerate(choices, start=1):
        out.write(b"> " + terminal_text(raw) + b"\n")
        entry = raw.strip(" \t\r\n")
        if entry in ("q", "Q"):
            break
        count = len(game.questions)
        is_number = entry.isascii() and entry.isdigit() and len(entry) <= MAX_CHOICE_DIGITS
        number = int(entry) if is_number else 0
        if not 1 <= number <= count:
            # Refused: the choices after it were meant for other prompts.
            if not entry:
                out.write(f"Please {choice_hint(count)}\n".encode())
            elif is_number:
                out.write(f"There is no question {entry}: {choice_hint(count)}\n".encode())
            else:
                out.write(b'"' + terminal_text(entry) + b'" is not a question number: '
                          + choice_hint(count).encode() + b"\n")
            out.flush()
            rest = "; the choices after it were not applied" if position < len(choices) else ""
            err.write(b"choice %d of %d in --choose (\"" % (position, len(choices))
                      + terminal_text(raw) + b'") was refused' + rest.encode() + b"\n")
            return EXIT_REFUSED
        step = game.choose(number - 1)
        out.write(b"".join(told))
        told.clear()
        if step == murmex.Step.FAILED:
            out.flush()
            err.write(terminal_text(game.last_error) + b"\n")
            return EXIT_SCRIPT_FAILED
        out.write(b"\n")
        show_situation(game, out)
    return EXIT_OK


def main(arguments: list[str]) -> int:
    # The switches come before FILE, in any order.
    plain = events = False
    start = START
    rest = list(arguments)
    while len(rest) > 2:
        if rest[0] == "--plain":
            plain, rest = True, rest[1:]
        elif rest[0] == "--events":
            events, rest = True, rest[1:]
        elif rest[0] == "--start" and len(rest) > 3:
            start, rest = rest[1], rest[2:]
        else:
            break
    if len(rest) != 2:
        sys.stderr.write("usage: transcript.py [--plain] [--events] [--start NAME] FILE CHOICES"
                         "  (CHOICES like 1,3,2)\n")
        return EXIT_USAGE
    path, listed = rest
    # Split as the tool's option parser does: empty entries between commas
    # are dropped, while an empty list is one empty entry; commas alone are
    # no list at all.
    choices = [entry for entry in listed.split(",") if entry] if listed else [""]
    if not choices:
        sys.stderr.write("CHOICES names no choice\n")
        return EXIT_USAGE
    status = play(plain, start, path, choices, sys.stdout.buffer, sys.stderr.buffer, events)
    sys.stdout.buffer.flush()
    return status


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
