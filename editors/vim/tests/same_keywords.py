#!/usr/bin/python3
"""The Vim syntax colours the same header keywords, field keywords and
condition operators as the TextMate grammar, so that a word added to one and
forgotten in the other is caught.

Usage: same_keywords.py GRAMMAR_JSON VIM_SYNTAX
"""
import json
import re
import sys


def grammar_words(grammar):
    """Header and field keywords and operators, by the scope that colours them."""
    words = {}
    rules = grammar["repository"]["keyword"]["patterns"] + grammar["repository"]["value"]["patterns"]
    for rule in rules:
        scopes = [rule.get("name", "")] + [c["name"] for c in rule.get("captures", {}).values()]
        for kind, scope in (("header", "keyword.other.header"),
                            ("field", "variable.other.field"),
                            ("operator", "keyword.operator.comparison")):
            if any(s.startswith(scope) for s in scopes):
                alternatives = re.search(r"\(((?:[^()|]+\|)+[^()|]+)\)", rule["match"]).group(1)
                words[kind] = set(alternatives.split("|"))
    return words


def vim_words(syntax):
    words = {}
    for kind, group in (("header", "murmexHeader"), ("field", "murmexField")):
        line = re.search(r"^syn keyword %s (.*)$" % group, syntax, re.M).group(1)
        words[kind] = set(line.split())
    operators = re.search(r'^syn match murmexOperator .*"\\\((.*)\\\)"/$', syntax, re.M).group(1)
    words["operator"] = set(operators.split("\\|"))
    return words


def main():
    with open(sys.argv[1], encoding="utf-8") as file:
        expected = grammar_words(json.load(file))
    with open(sys.argv[2], encoding="utf-8") as file:
        got = vim_words(file.read())
    differ = [kind for kind in ("header", "field", "operator") if expected.get(kind) != got.get(kind)]
    for kind in differ:
        print(f"{kind}: TextMate {sorted(expected.get(kind, []))}, Vim {sorted(got.get(kind, []))}")
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
