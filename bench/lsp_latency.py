#!/usr/bin/env python3
"""Times `murmex lsp` from a keystroke to its diagnostics: opens a script, then
types into a question near the middle of it, one character per change, and
reports the median and the worst time from sending each change until the
diagnostics of that version came back. A server that announces incremental
sync gets each keystroke as a ranged edit; one that doesn't gets the whole
text, as an editor would send it. The same run times a cold `murmex check` of
the same file, the time an author would wait for starting over.

With --broken the first talk unit names an action there is none of, so that
the script does not load while the author types: the server then reads it as
the check of a broken script does.

Without SCRIPT it times the two scripts of tools/make_large_script.py: the
generated one (2 MB) and the largest the format allows (--longest, 45 MB).

Usage: lsp_latency.py [--edits N] [--broken] MURMEX [SCRIPT...]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

from lsp_messages import receive, send

INCREMENTAL = 2
CHECK_RUNS = 5


def diagnostics(server, version):
    """The diagnostics published for `version` (any, when None)."""
    while True:
        message = receive(server)
        if message.get("method") != "textDocument/publishDiagnostics":
            continue
        published = message["params"].get("version")
        if version is None or published == version:
            return message["params"]["diagnostics"]


def sync_kind(capabilities):
    sync = capabilities.get("textDocumentSync", 0)
    return sync.get("change", 0) if isinstance(sync, dict) else sync


def utf16_units(text):
    return len(text.encode("utf-16-le")) // 2


def typing_place(text):
    """The line and UTF-16 column just after the opening quote of the
    question nearest the middle, and the offset there."""
    middle = len(text) // 2
    at = text.find('Q = "', middle)
    if at < 0:
        at = text.rfind('Q = "', 0, middle)
    at += len('Q = "')
    line_start = text.rfind("\n", 0, at) + 1
    line = text.count("\n", 0, at)
    return line, utf16_units(text[line_start:at]), at


def broken(text):
    """The text with an unknown action in its first talk unit."""
    at = text.index('ACT = "', text.index("{ S = ")) + len('ACT = "')
    return text[:at] + "ACT_UNKNOWN" + text[text.index('"', at):]


def time_lsp(murmex, text, edits):
    uri = "file:///timed.chr.txt"
    server = subprocess.Popen([murmex, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    send(server, {"jsonrpc": "2.0", "id": 1, "method": "initialize",
                  "params": {"capabilities": {}}})
    incremental = sync_kind(receive(server)["result"]["capabilities"]) == INCREMENTAL
    send(server, {"jsonrpc": "2.0", "method": "initialized", "params": {}})
    started = time.perf_counter()
    send(server, {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
        "uri": uri, "languageId": "murmex", "version": 1, "text": text}}})
    found = diagnostics(server, 1)
    opened = time.perf_counter() - started
    line, column, offset = typing_place(text)
    times = []
    for version in range(2, edits + 2):
        typed = "abcdefghijklmnopqrstuvwxyz"[(version - 2) % 26]
        text = text[:offset] + typed + text[offset:]
        if incremental:
            place = {"line": line, "character": column}
            change = {"range": {"start": place, "end": place}, "text": typed}
        else:
            change = {"text": text}
        offset += 1
        column += 1
        started = time.perf_counter()
        send(server, {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
            "textDocument": {"uri": uri, "version": version}, "contentChanges": [change]}})
        changed = diagnostics(server, version)
        times.append(time.perf_counter() - started)
    send(server, {"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
    receive(server)
    send(server, {"jsonrpc": "2.0", "method": "exit"})
    server.wait()
    return incremental, opened, len(found), len(changed), times


def time_check(murmex, path):
    times = []
    for _ in range(CHECK_RUNS):
        started = time.perf_counter()
        subprocess.run([murmex, "check", "--plain", path], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        times.append(time.perf_counter() - started)
    return statistics.median(times)


def report(murmex, path, edits, folder, breaking):
    text = open(path, encoding="utf-8", newline="").read()
    if breaking:
        text = broken(text)
        path = os.path.join(folder, "broken-" + os.path.basename(path))
        with open(path, "w", encoding="utf-8", newline="") as file:
            file.write(text)
    incremental, opened, before, after, times = time_lsp(murmex, text, edits)
    check = time_check(murmex, path)
    median = statistics.median(times)
    print("%s: %d bytes, %s sync" % (
        os.path.basename(path), len(text.encode()), "incremental" if incremental else "full"))
    print("  open: %.0f ms, %d diagnostics (%d after typing)" % (opened * 1000, before, after))
    print("  keystroke to diagnostics, %d edits: median %.1f ms, worst %.1f ms" % (
        len(times), median * 1000, max(times) * 1000))
    print("  cold murmex check: median of %d %.1f ms; keystroke median / check %.2f" % (
        CHECK_RUNS, check * 1000, median / check))


def main(args):
    edits = 30
    if args[:1] == ["--edits"]:
        edits = int(args[1])
        args = args[2:]
    breaking = args[:1] == ["--broken"]
    if breaking:
        args = args[1:]
    if not args:
        sys.exit(__doc__)
    murmex, scripts = args[0], args[1:]
    with tempfile.TemporaryDirectory() as folder:
        if not scripts:
            maker = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools",
                                 "make_large_script.py")
            for name, options in (("generated.chr.txt", []), ("largest.chr.txt", ["--longest"])):
                path = os.path.join(folder, name)
                subprocess.run([sys.executable, maker] + options + [path], check=True)
                scripts.append(path)
        for path in scripts:
            report(murmex, path, edits, folder, breaking)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
