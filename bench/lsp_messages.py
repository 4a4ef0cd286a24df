"""The language server's messages as the benchmarks exchange them with
`murmex lsp`: JSON bodies framed by a Content-Length header."""
import json
import sys


def send(server, message):
    body = json.dumps(message).encode()
    server.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
    server.stdin.flush()


def receive(server):
    """The next message the server sends; exits when it has ended."""
    length = 0
    while True:
        line = server.stdout.readline()
        if line in (b"\r\n", b""):
            break
        if line.startswith(b"Content-Length:"):
            length = int(line.split(b":")[1])
    if length == 0:
        sys.exit("the server ended")
    return json.loads(server.stdout.read(length))
