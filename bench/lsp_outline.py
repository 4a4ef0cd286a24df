#!/usr/bin/env python3
"""Times `murmex lsp` answering an outline (documentSymbol) of a script that
stands on one line after its magic line: 100 characters of 150 units each,
about 2 MB. Every place the outline names is converted to a line and a
UTF-16 column, all on that one line.

Usage: lsp_outline.py MURMEX [SIZE_MB]
"""
import subprocess
import sys
import time

from lsp_messages import receive, send


def one_line_script(megabytes):
    units_per_character = 150
    characters = []
    size = 0
    index = 0
    while size < megabytes * 1_000_000 and index < 100:
        name = "Intro" if index == 0 else "C%02d" % index
        units = ['{ S = "0" N = "0" Q = "" A = "%s greets you." ACT = "ACT_NONE" }' % name]
        for unit in range(1, units_per_character):
            units.append('{ S = "0" N = "0" Q = "Question %d of %s, padded out to be long enough '
                         'for a real line of dialogue \u00e9" A = "Answer %d, as long as the '
                         'question that asked for it, in words of every length." '
                         'ACT = "ACT_NONE" }' % (unit, name, unit))
        block = '"%s" { %s }' % (name, " ".join(units))
        characters.append(block)
        size += len(block.encode())
        index += 1
    return 'MurmexSrcFile\n TITLE = "One line" COLOR = "1", "2", "3" TEXTCOLOR = "4", "5", "6" ' + \
        " ".join(characters)


def receive_wanted(server, wanted_id=None, wanted_method=None):
    while True:
        message = receive(server)
        if (wanted_id is not None and message.get("id") == wanted_id) or \
                (wanted_method is not None and message.get("method") == wanted_method):
            return message


def main(murmex, megabytes=2.0):
    text = one_line_script(megabytes)
    uri = "file:///one_line.chr.txt"
    server = subprocess.Popen([murmex, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    send(server, {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}})
    receive_wanted(server, 1)
    send(server, {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
        "uri": uri, "languageId": "murmex", "version": 1, "text": text}}})
    # The open's diagnostics first, so that only the outline is timed.
    started = time.perf_counter()
    diagnostics = receive_wanted(server, wanted_method="textDocument/publishDiagnostics")
    print("open of %d bytes on one line: %.0f ms, %d diagnostics" % (
        len(text.encode()), (time.perf_counter() - started) * 1000,
        len(diagnostics["params"]["diagnostics"])))
    started = time.perf_counter()
    send(server, {"jsonrpc": "2.0", "id": 2, "method": "textDocument/documentSymbol",
                  "params": {"textDocument": {"uri": uri}}})
    symbols = receive_wanted(server, 2)["result"]
    print("outline of %d bytes on one line: %.0f ms, %d characters, %d units" % (
        len(text.encode()), (time.perf_counter() - started) * 1000, len(symbols),
        sum(len(symbol["children"]) for symbol in symbols)))
    send(server, {"jsonrpc": "2.0", "id": 3, "method": "shutdown"})
    receive_wanted(server, 3)
    send(server, {"jsonrpc": "2.0", "method": "exit"})
    server.wait()


if __name__ == "__main__":
    main(sys.argv[1], *(float(arg) for arg in sys.argv[2:]))
