#!/usr/bin/env python3
"""Writes a plain script that is small to explore but has a failure at every
step of a very long path, for measuring the memory and output of
`murmex explore` when it reports many deep failures.

100 characters hand over in a chain. Each walks through 74 states with a long
question; in every state a second, short question removes a variable that is
never set, so the player stops with "Can't apply question!". The last state of
each character hands over to the next one; the last character ends its
conversation. That makes 7,400 situations in one line, each with a failure
whose shortest path is as long as the situation is deep (up to 7,400
questions), in a file of about 1.8 MB.

Usage: make_deep_explore_script.py OUT [CHARACTERS]
"""
import sys

STATES = 74
QUESTION_LENGTH = 100


def name(index):
    return "Intro" if index == 0 else "C%02d" % index


def character_units(c, characters):
    units = ['  { S = "0" N = "0" Q = "" A = "%s greets you." ACT = "ACT_NONE" }' % name(c)]
    for state in range(STATES):
        question = ("%s walks on from state %d " % (name(c), state)).ljust(QUESTION_LENGTH, ".")
        if state + 1 < STATES:
            units.append('  { S = "%d" N = "%d" Q = "%s" A = "On." ACT = "ACT_NONE" }' %
                         (state, state + 1, question))
        elif c + 1 < characters:
            units.append('  { S = "%d" N = "0" Q = "%s" A = "-" ACT = "ACT_COMM" PARAM = "%s" }' %
                         (state, question, name(c + 1)))
        else:
            units.append('  { S = "%d" N = "-1" Q = "%s" A = "Bye." ACT = "ACT_NONE" }' %
                         (state, question))
        units.append('  { S = "%d" N = "%d" Q = "Forget the key %d." A = "Gone." '
                     'ACT = "ACT_SUB_MEM" PARAM = "key" }' % (state, state, state))
    return units


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    characters = int(sys.argv[2]) if len(sys.argv) == 3 else 100
    lines = ["MurmexSrcFile", 'TITLE = "Deep"', 'COLOR = "1", "2", "3"',
             'TEXTCOLOR = "4", "5", "6"']
    for c in range(characters):
        lines.append('"%s" {' % name(c))
        lines.extend(character_units(c, characters))
        lines.append("}")
    with open(sys.argv[1], "w", newline="") as out:
        out.write("\r\n".join(lines) + "\r\n")


if __name__ == "__main__":
    main()
