#!/usr/bin/python3
"""The bundled page in headless Chromium: its title and answers, the first
question clicked twice, must be what the package showed under Node.

Usage: page_play.py PAGE EXPECTED_JSON
"""

import json
import pathlib
import sys
import time

from selenium.webdriver.common.by import By

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))
from headless_chromium import new_driver  # noqa: E402

TIMEOUT = 10


def text_of(driver, selector, unlike=None):
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        text = driver.find_element(By.CSS_SELECTOR, selector).text
        if text and text != unlike:
            return text
        time.sleep(0.05)
    raise AssertionError(f"{selector} stayed {unlike!r}")


def main():
    page, expected = pathlib.Path(sys.argv[1]).resolve(), json.loads(sys.argv[2])
    # The page shows text as the browser lays it out: spaces run together.
    expected = [" ".join(text.split()) for text in expected]
    driver = new_driver()
    try:
        driver.get(page.as_uri())
        shown = [text_of(driver, "h1"), text_of(driver, "#answer")]
        for _ in range(2):
            driver.find_element(By.CSS_SELECTOR, "#questions button").click()
            changed = expected[len(shown)] != shown[-1]
            shown.append(text_of(driver, "#answer", unlike=shown[-1] if changed else None))
    finally:
        driver.quit()
    assert shown == expected, f"the page showed {shown}, Node {expected}"
    print("bundled page: played the demo in Chromium")


main()
