#!/usr/bin/env python3
"""Writes a plain script with a large memory space, for measuring the memory
`murmex explore` holds against its limit.

A forced path first sets FILL variables, one question each, handing over
from character to character. Then every state offers two questions, each
setting a variable of its own, so that the situations double with every
question while each holds a memory of FILL and more variables. The defaults
make about 50 KB.

Usage: make_wide_memory_script.py OUT [FILL [BRANCH_STATES]]
"""
import sys

UNITS_PER_FILL_CHARACTER = 140
BRANCH_STATES_PER_CHARACTER = 70


def greeting(name):
    return '  { S = "0" N = "0" Q = "" A = "%s greets you." ACT = "ACT_NONE" }' % name


def hand_over(state, to):
    if to is None:
        return '  { S = "%d" N = "-1" Q = "Goodbye." A = "Bye." ACT = "ACT_NONE" }' % state
    return '  { S = "%d" N = "0" Q = "On to %s." A = "-" ACT = "ACT_COMM" PARAM = "%s" }' % (
        state, to, to)


def setting(state, question, variable):
    return '  { S = "%d" N = "%d" Q = "%s" A = "Noted." ACT = "ACT_ADD_MEM" PARAM = "%s" ' \
           'VAL = "1" }' % (state, state + 1, question, variable)


def blocks(fill, branch_states):
    names = []
    bodies = []
    for first in range(0, fill, UNITS_PER_FILL_CHARACTER):
        count = min(UNITS_PER_FILL_CHARACTER, fill - first)
        names.append("Intro" if not names else "F%d" % len(names))
        bodies.append([setting(k, "Fill %d." % (first + k), "f%d" % (first + k))
                       for k in range(count)] + [count])
    for first in range(0, branch_states, BRANCH_STATES_PER_CHARACTER):
        count = min(BRANCH_STATES_PER_CHARACTER, branch_states - first)
        names.append("B%d" % len(names))
        units = []
        for s in range(count):
            units.append(setting(s, "Left at %d." % (first + s), "a%d" % (first + s)))
            units.append(setting(s, "Right at %d." % (first + s), "b%d" % (first + s)))
        bodies.append(units + [count])
    lines = []
    for i, (name, body) in enumerate(zip(names, bodies)):
        last_state = body.pop()
        following = names[i + 1] if i + 1 < len(names) else None
        lines.append('"%s" {' % name)
        lines.append(greeting(name))
        lines.extend(body)
        lines.append(hand_over(last_state, following))
        lines.append("}")
    return lines


def main():
    if not 2 <= len(sys.argv) <= 4:
        sys.exit(__doc__)
    fill = int(sys.argv[2]) if len(sys.argv) > 2 else 400
    branch_states = int(sys.argv[3]) if len(sys.argv) > 3 else 90
    lines = ["MurmexSrcFile", 'TITLE = "Wide memory"', 'COLOR = "1", "2", "3"',
             'TEXTCOLOR = "4", "5", "6"'] + blocks(fill, branch_states)
    with open(sys.argv[1], "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
