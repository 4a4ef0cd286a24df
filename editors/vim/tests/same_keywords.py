#!/usr/bin/python3
"""The editors colour the script's keywords as the loader knows them: the
TextMate grammar's header keywords, field keywords and condition operators
are exactly the loader's, the Vim syntax colours the same words, and both
action patterns match every action. A keyword added to the loader and
forgotten in an editor, or the reverse, is caught.

Usage: same_keywords.py GRAMMAR_JSON VIM_SYNTAX KEYWORD_TABLE_PROGRAM
The program prints the loader's keywords, one "kind word" a line.
"""
import json
import re
import subprocess
import sys

KINDS = ("header", "field", "operator")


def grammar_words(grammar):
    """Header and field keywords and operators by the scope that colours
    them, and the action pattern."""
    words = {}
    action = None
    rules = grammar["repository"]["keyword"]["patterns"] + grammar["repository"]["value"]["patterns"]
    for rule in rules:
        scopes = [rule.get("name", "")] + [c["name"] for c in rule.get("captures", {}).values()]
        for kind, scope in (("header", "keyword.other.header"),
                            ("field", "variable.other.field"),
                            ("operator", "keyword.operator.comparison")):
            if any(s.startswith(scope) for s in scopes):
                alternatives = re.search(r"\(((?:[^()|]+\|)+[^()|]+)\)", rule["match"]).group(1)
                words[kind] = set(alternatives.split("|"))
        if any(s.startswith("support.constant.action") for s in scopes):
            action = rule["match"]
    return words, action


def vim_words(syntax):
    words = {}
    for kind, group in (("header", "murmexHeader"), ("field", "murmexField")):
        line = re.search(r"^syn keyword %s (.*)$" % group, syntax, re.M).group(1)
        words[kind] = set(line.split())
    operators = re.search(r'^syn match murmexOperator .*"\\\((.*)\\\)"/$', syntax, re.M).group(1)
    words["operator"] = set(operators.split("\\|"))
    # Vim's magic pattern as Python's: only \+ and \= are used there.
    action = re.search(r"^syn match murmexAction /(.*)/$", syntax, re.M).group(1)
    return words, action.replace("\\+", "+").replace("\\=", "?")


def loader_words(program):
    words = {kind: set() for kind in KINDS + ("action",)}
    for line in subprocess.run([program], check=True, capture_output=True, text=True).stdout.splitlines():
        kind, word = line.split(" ", 1)
        words[kind].add(word)
    return words


def differences(name, expected, other_name, got):
    return [f"{kind}: {name} {sorted(expected.get(kind, []))}, {other_name} {sorted(got.get(kind, []))}"
            for kind in KINDS if expected.get(kind) != got.get(kind)]


def main():
    loader = loader_words(sys.argv[3])
    with open(sys.argv[1], encoding="utf-8") as file:
        grammar, action = grammar_words(json.load(file))
    with open(sys.argv[2], encoding="utf-8") as file:
        vim, vim_action = vim_words(file.read())
    problems = differences("loader", loader, "TextMate", grammar)
    problems += differences("TextMate", grammar, "Vim", vim)
    for word in sorted(loader["action"]):
        for name, pattern in (("TextMate", action), ("Vim", vim_action)):
            if pattern is None or not re.fullmatch(pattern, f'"{word}"'):
                problems.append(f"action: {name} does not colour {word}")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
