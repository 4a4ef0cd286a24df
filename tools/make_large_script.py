#!/usr/bin/env python3
"""Writes a plain script of 100 characters with 150 talk units each, for timing
`murmex explore` on a script as large as the engine takes.

Each character walks through ten states, hands over to the next character,
ends its conversation, and sets a quest variable in three steps that the next
character's quest waits for; a lamp is lit and put out anywhere. Ten units per
state are offered only once some quest is done and the lamp is lit, so more
than five questions compete there. Nothing in it fails.

With --longest every question and answer is padded to the longest text the
loader takes, for the largest script the format allows (46 MB).

Usage: make_large_script.py [--longest] OUT
"""
import sys

CHARACTERS = 100
UNITS = 150
STATES = 10
# The longest question or answer the loader takes.
LONGEST_TEXT = 1498
PAD = None


def name(index):
    return "Intro" if index == 0 else "C%02d" % index


def padded(text):
    return text if PAD is None else (text + PAD * LONGEST_TEXT)[:LONGEST_TEXT]


def unit(state, next_state, question, answer, action, param=None, value=None, conditions=()):
    if question:
        question = padded(question)
    if answer != "-":
        answer = padded(answer)
    text = '  { S = "%d" N = "%d" Q = "%s" A = "%s" ACT = "%s"' % (
        state, next_state, question, answer, action)
    if param is not None:
        text += ' PARAM = "%s"' % param
    if value is not None:
        text += ' VAL = "%d"' % value
    for variable, op, operand in conditions:
        text += ' { ID = "%s" OP = "%s"' % (variable, op)
        if operand is not None:
            text += ' VAL = "%d"' % operand
        text += " }"
    return text + " }"


def character_units(c):
    quest = "q%d" % c
    before = "q%d" % (c - 1)
    units = [unit(0, 0, "", "%s greets you." % name(c), "ACT_NONE")]
    for state in range(STATES):
        per_state = 15 if state > 0 else 14
        for k in range(per_state):
            question = "%s, state %d, question %d" % (name(c), state, k)
            if k == 0:
                units.append(unit(state, (state + 1) % STATES, question, "On.", "ACT_NONE"))
            elif k == 1:
                units.append(unit(state, 0, question, "-", "ACT_COMM", name((c + 1) % CHARACTERS)))
            elif k == 2:
                units.append(unit(state, -1, question, "Bye.", "ACT_NONE"))
            elif k == 3 and state == 3:
                waits = [(before, "==", 3)] if c > 0 else []
                units.append(unit(state, 4, question, "Quest begun.", "ACT_ADD_MEM", quest, 1,
                                  waits + [(quest, "not", None)]))
            elif k == 3 and state == 6:
                units.append(unit(state, 7, question, "Quest goes on.", "ACT_ADD_MEM", quest, 2,
                                  [(quest, "==", 1)]))
            elif k == 3 and state == 9:
                units.append(unit(state, 0, question, "Quest done.", "ACT_ADD_MEM", quest, 3,
                                  [(quest, "==", 2)]))
            elif k == 3:
                units.append(unit(state, state, question, "A coin.", "ACT_ADD_MONEY", "coins", 1))
            elif k == 4 and state == 5:
                units.append(unit(state, 6, question, "Lit.", "ACT_ADD_MEM", "lamp", 1,
                                  [("lamp", "not", None)]))
            elif k == 4 and state == 8:
                units.append(unit(state, 9, question, "Dark.", "ACT_SUB_MEM", "lamp",
                                  conditions=[("lamp", "==", 1)]))
            elif k == 4:
                units.append(unit(state, 0, question, "Back.", "ACT_NONE"))
            else:
                other = "q%d" % ((c + k) % CHARACTERS)
                units.append(unit(state, (state + k) % STATES, question, "Hm.", "ACT_NONE",
                                  conditions=[(other, "==", 3), ("lamp", "==", 1)]))
    assert len(units) == UNITS
    return units


def main():
    global PAD
    args = sys.argv[1:]
    if args[:1] == ["--longest"]:
        PAD = " and so on"
        args = args[1:]
    if len(args) != 1:
        sys.exit(__doc__)
    lines = ["MurmexSrcFile", 'TITLE = "Large"', 'COLOR = "1", "2", "3"',
             'TEXTCOLOR = "4", "5", "6"']
    for c in range(CHARACTERS):
        lines.append('"%s" {' % name(c))
        lines.extend(character_units(c))
        lines.append("}")
    with open(args[0], "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
