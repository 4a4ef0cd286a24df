#!/usr/bin/env python3
"""Times `murmex lsp` from a change to its diagnostics on a script: opens it,
then sends changes (the script as it is, and with one planted mistake) and
reports how long each took until its diagnostics came back.

Usage: lsp_latency.py MURMEX SCRIPT
"""
import json
import subprocess
import sys
import time


def send(server, message):
    body = json.dumps(message).encode()
    server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    server.stdin.flush()


def receive(server):
    length = 0
    while True:
        line = server.stdout.readline()
        if line in (b"\r\n", b""):
            break
        if line.startswith(b"Content-Length:"):
            length = int(line.split(b":")[1])
    return json.loads(server.stdout.read(length))


def diagnostics(server):
    while True:
        message = receive(server)
        if message.get("method") == "textDocument/publishDiagnostics":
            return message["params"]["diagnostics"]


def main(murmex, path):
    text = open(path, encoding="utf-8", newline="").read()
    uri = "file:///large.chr.txt"
    server = subprocess.Popen([murmex, "lsp"], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    send(server, {"jsonrpc": "2.0", "id": 1, "method": "initialize", "params": {"capabilities": {}}})
    receive(server)
    started = time.perf_counter()
    send(server, {"jsonrpc": "2.0", "method": "textDocument/didOpen", "params": {"textDocument": {
        "uri": uri, "languageId": "murmex", "version": 1, "text": text}}})
    found = diagnostics(server)
    print("open: %.0f ms, %d diagnostics, %d bytes" % (
        (time.perf_counter() - started) * 1000, len(found), len(text.encode())))
    broken = text.replace('ACT = "ACT_NONE"', 'ACT = "ACT_NONX"', 1)
    for version, (what, changed) in enumerate([("unchanged", text), ("one mistake", broken)] * 2, 2):
        started = time.perf_counter()
        send(server, {"jsonrpc": "2.0", "method": "textDocument/didChange", "params": {
            "textDocument": {"uri": uri, "version": version}, "contentChanges": [{"text": changed}]}})
        found = diagnostics(server)
        print("change (%s): %.0f ms, %d diagnostics" % (
            what, (time.perf_counter() - started) * 1000, len(found)))
    send(server, {"jsonrpc": "2.0", "id": 2, "method": "shutdown"})
    receive(server)
    send(server, {"jsonrpc": "2.0", "method": "exit"})
    return server.wait()


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
