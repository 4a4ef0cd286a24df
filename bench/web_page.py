#!/usr/bin/python3
"""The published demo's size (raw and gzipped) and the time from the page's
load event to its first answer in the DOM: the median of 20 loads in headless
Chromium. The page marks the moment it has written the first answer
(performance mark "murmex-first-answer").

Usage: web_page.py --murmex MURMEX --script demo.chr.txt [--loads 20]
"""

import argparse
import gzip
import pathlib
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1] / "web" / "tests"))
from headless_chromium import new_driver  # noqa: E402


FIRST_ANSWER = """
const mark = performance.getEntriesByName("murmex-first-answer")[0];
const timing = performance.timing;
if (mark === undefined || timing.loadEventStart === 0) return null;
return performance.timeOrigin + mark.startTime - timing.loadEventStart;
"""


def first_answer_ms(driver, url):
    driver.get(url)
    for _ in range(1000):
        elapsed = driver.execute_script(FIRST_ANSWER)
        if elapsed is not None:
            return elapsed
        time.sleep(0.005)
    raise RuntimeError("no first answer")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--murmex", required=True)
    parser.add_argument("--script", required=True)
    parser.add_argument("--loads", type=int, default=20)
    arguments = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        page = pathlib.Path(folder) / "demo.html"
        subprocess.run(
            [arguments.murmex, "publish", arguments.script, "-o", str(page), "--plain", "--no-autosave"],
            check=True,
            capture_output=True,
        )
        data = page.read_bytes()
        print(f"published demo: {len(data)} bytes, {len(gzip.compress(data, 9))} gzipped")
        driver = new_driver()
        try:
            times = [first_answer_ms(driver, page.as_uri()) for _ in range(arguments.loads)]
        finally:
            driver.quit()
    print(
        f"first answer after the load event: median {statistics.median(times):.1f} ms "
        f"of {len(times)} loads (min {min(times):.1f}, max {max(times):.1f})"
    )


if __name__ == "__main__":
    main()
