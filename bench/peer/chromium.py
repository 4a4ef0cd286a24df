#!/usr/bin/python3
"""Ours against the peer runtime in headless Chromium: start-up (importing
each runtime, and instantiating ours; the median over several page loads),
then load, first screen and one step on each prepared conversation, timed in
the page as bench.mjs times them under Node. The page, the runtimes and the
scripts are served from a local http.server on loopback.

Usage: chromium.py --web DIR --work DIR [--loads 5] [--quick]
"""

import argparse
import functools
import http.server
import os
import pathlib
import statistics
import sys
import tempfile
import threading
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[2] / "web" / "tests"))
from headless_chromium import new_driver  # noqa: E402


HERE = pathlib.Path(__file__).resolve().parent


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {
        **http.server.SimpleHTTPRequestHandler.extensions_map,
        ".mjs": "text/javascript",
        ".wasm": "application/wasm",
        ".json": "application/json",
    }

    def end_headers(self):
        self.send_header("Cache-Control", "no-store")
        super().end_headers()

    def log_message(self, *args):
        pass


def site(folder, web, work):
    """The served tree: the page, the shared measures, both runtimes and the scripts."""
    root = pathlib.Path(folder)
    for name in ("index.html", "page.mjs"):
        (root / name).symlink_to(HERE / "page" / name)
    (root / "measure.mjs").symlink_to(HERE / "measure.mjs")
    (root / "ours").symlink_to(web)
    (root / "peer").mkdir()
    (root / "peer" / "ink.mjs").symlink_to(work / "node_modules" / "inkjs" / "dist" / "ink.mjs")
    (root / "scripts").symlink_to(work / "scripts")


def result_of(driver, url, timeout):
    driver.get(url)
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = driver.execute_script("return window.benchResult ?? null;")
        if result is not None:
            if "error" in result:
                raise RuntimeError(result["error"])
            return result
        time.sleep(0.05)
    raise RuntimeError(f"no result from {url} within {timeout} s")


def row(what, ours, peer, unit):
    def number(value):
        return f"{value:.3g} {unit}"

    return f"| {what} | {number(ours)} | {number(peer)} | {ours / peer:.2f} |"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--web", required=True, type=pathlib.Path)
    parser.add_argument("--work", required=True, type=pathlib.Path)
    parser.add_argument("--loads", type=int, default=5)
    parser.add_argument("--quick", action="store_true")
    arguments = parser.parse_args()
    load_before = os.getloadavg()
    with tempfile.TemporaryDirectory() as folder:
        site(folder, arguments.web.resolve(), arguments.work.resolve())
        server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=folder))
        threading.Thread(target=server.serve_forever, daemon=True).start()
        page = f"http://127.0.0.1:{server.server_address[1]}/index.html"
        driver = new_driver()
        try:
            version = driver.capabilities.get("browserVersion", "?")
            starts = [result_of(driver, page + "?startup", 60)["startup"] for _ in range(arguments.loads)]
            result = result_of(driver, page + ("?quick" if arguments.quick else ""), 600)
        finally:
            driver.quit()
            server.shutdown()
    print(f"Chromium {version} (headless); ours: {arguments.web}; peer: inkjs from {arguments.work}")
    print("| measure | ours | peer | ours / peer |\n|---|---:|---:|---:|")
    print(
        row(
            "start-up: import (+ instantiate)",
            statistics.median(s["ours"] for s in starts),
            statistics.median(s["peer"] for s in starts),
            "ms",
        )
    )
    for entry in result["sizes"]:
        label = "%d × %d" % tuple(entry["size"])
        for key, what in (("load", "load"), ("first", "first screen"), ("step", "step")):
            print(row(f"{label}: {what}", entry["ours"][key], entry["peer"][key], "µs"))
    after = os.getloadavg()
    print(
        "load average before: %s; after: %s (%d cores)"
        % (" ".join(f"{x:.2f}" for x in load_before), " ".join(f"{x:.2f}" for x in after), os.cpu_count())
    )


if __name__ == "__main__":
    main()
