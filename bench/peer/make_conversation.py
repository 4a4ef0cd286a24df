#!/usr/bin/env python3
"""Writes one conversation twice: as a plain Murmex script (BASE.chr.txt) and in
the peer runtime's source language (BASE.ink), so that both runtimes can play
the very same screens.

The conversation has CHARACTERS characters of UNITS talk units each: a greeting
and UNITS - 1 questions, five to a state. In every state the questions are, in
this order (the last state may hold fewer):

  0. go on to the next state, with an answer;
  1. hand over to another character (a different one from each state), who
     greets and starts in state 0;
  2. in odd states, end the conversation: the first character greets again
     from state 0; in even states, jump halfway round the states;
  3. only while the character's own flag is not 1: set it to 1 and move on;
  4. only while the previous character's flag is 1: set it to 0 and move on.

Only what both languages say the same way is used: a state is a stitch of the
character's knot, a question a sticky choice whose bracketed text is the label
and whose content is the answer; a hand-over or an end diverts to a knot, and
so shows its greeting; a flag is a variable set to 1 or 0 and tested with ==
and != (a flag never set is 0 in the peer's story and absent in ours, which
both tests treat alike). Flags are never removed: ACT_SUB_MEM empties a slot
of our table without a marker, which hides later names of its probe run, and
the peer has nothing like it.

A file is rewritten only when its text changes, so a compiled story made from
an unchanged BASE.ink stays newer than it.

Usage: make_conversation.py CHARACTERS UNITS BASE
"""
import os
import sys

PER_STATE = 5
FILLER = ("The road north is long", "and the river runs high this spring",
          "so mind the ford", "and ask at the mill", "if the miller is in")


def name(c):
    return "Intro" if c == 0 else "C%02d" % c


def flag(c):
    return "v%d" % c


def question_text(c, s, k):
    return "%s, state %d, question %d" % (name(c), s, k)


def answer_text(c, s, k):
    # Answers of different lengths, as real writing has.
    return "%s answers %d in state %d. %s." % (name(c), k, s, ", ".join(FILLER[:1 + (c + s + k) % 5]))


def greeting(c):
    filler = FILLER[c % 5]
    return "%s greets you. %s." % (name(c), filler[0].upper() + filler[1:])


def conversation(characters, units):
    """Yields (c, states, [(s, k, kind, target, condition)]) for each character.

    kind is "go", "hand", "end", "set" or "clear"; target the next state (or the
    next character for "hand"); condition None, ("!=", flag) or ("==", flag), each against 1.
    """
    questions = units - 1
    states = (questions + PER_STATE - 1) // PER_STATE
    for c in range(characters):
        rows = []
        for q in range(questions):
            s, k = divmod(q, PER_STATE)
            if k == 0:
                rows.append((s, k, "go", (s + 1) % states, None))
            elif k == 1:
                rows.append((s, k, "hand", (c + 1 + 7 * s) % characters, None))
            elif k == 2 and s % 2 == 1:
                rows.append((s, k, "end", None, None))
            elif k == 2:
                rows.append((s, k, "go", (s + states // 2) % states, None))
            elif k == 3:
                rows.append((s, k, "set", (s + 2) % states, ("!=", flag(c))))
            else:
                rows.append((s, k, "clear", (s + 3) % states, ("==", flag((c - 1) % characters))))
        yield c, states, rows


def murmex_script(characters, units):
    lines = ["MurmexSrcFile", 'TITLE = "Peer"', 'COLOR = "1", "2", "3"', 'TEXTCOLOR = "4", "5", "6"']
    for c, _, rows in conversation(characters, units):
        lines.append('"%s" {' % name(c))
        lines.append('  { S = "0" N = "0" Q = "" A = "%s" ACT = "ACT_NONE" }' % greeting(c))
        for s, k, kind, target, condition in rows:
            q = question_text(c, s, k)
            a = answer_text(c, s, k)
            if kind == "go":
                unit = 'S = "%d" N = "%d" Q = "%s" A = "%s" ACT = "ACT_NONE"' % (s, target, q, a)
            elif kind == "hand":
                unit = 'S = "%d" N = "0" Q = "%s" A = "-" ACT = "ACT_COMM" PARAM = "%s"' % (s, q, name(target))
            elif kind == "end":
                unit = 'S = "%d" N = "-1" Q = "%s" A = "%s" ACT = "ACT_NONE"' % (s, q, a)
            elif kind == "set":
                unit = 'S = "%d" N = "%d" Q = "%s" A = "%s" ACT = "ACT_ADD_MEM" PARAM = "%s" VAL = "1"' % (
                    s, target, q, a, condition[1])
            else:
                unit = 'S = "%d" N = "%d" Q = "%s" A = "%s" ACT = "ACT_ADD_MEM" PARAM = "%s" VAL = "0"' % (
                    s, target, q, a, condition[1])
            if condition is not None:
                unit += ' { ID = "%s" OP = "%s" VAL = "1" }' % (condition[1], condition[0])
            lines.append("  { %s }" % unit)
        lines.append("}")
    return "\r\n".join(lines) + "\r\n"


def ink_story(characters, units):
    lines = ["VAR %s = 0" % flag(c) for c in range(characters)]
    lines += ["-> Intro", ""]
    for c, states, rows in conversation(characters, units):
        lines += ["=== %s ===" % name(c), greeting(c), "-> s0"]
        for state in range(states):
            lines.append("= s%d" % state)
            for s, k, kind, target, condition in rows:
                if s != state:
                    continue
                q = question_text(c, s, k)
                a = answer_text(c, s, k)
                guard = ""
                if condition is not None:
                    guard = "{%s %s 1} " % (condition[1], condition[0])
                if kind == "go":
                    lines.append("+ %s[%s] %s -> s%d" % (guard, q, a, target))
                elif kind == "hand":
                    lines.append("+ %s[%s] -> %s" % (guard, q, name(target)))
                elif kind == "end":
                    lines.append("+ %s[%s] -> Intro" % (guard, q))
                else:
                    value = 1 if kind == "set" else 0
                    lines += ["+ %s[%s]" % (guard, q), "  ~ %s = %d" % (condition[1], value),
                              "  %s" % a, "  -> s%d" % target]
        lines.append("")
    return "\n".join(lines)


def write_if_changed(path, text):
    data = text.encode("ascii")
    try:
        with open(path, "rb") as existing:
            if existing.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path + ".tmp", "wb") as out:
        out.write(data)
    os.replace(path + ".tmp", path)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    characters, units, base = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    if not 1 <= characters <= 100 or not 2 <= units <= 150:
        sys.exit("make_conversation.py: 1 to 100 characters of 2 to 150 units")
    write_if_changed(base + ".chr.txt", murmex_script(characters, units))
    write_if_changed(base + ".ink", ink_story(characters, units))


if __name__ == "__main__":
    main()
