#!/usr/bin/python3
"""A published page in headless Chromium, driven through Selenium: the demo's
title and colours, its transcript plans played by clicks and by keys, a
phone's width, the announced answer, a reload that continues the game, what the accessibility
tree exposes, a broken script's page, a script whose texts hold markup, a
kept game that the republished script leaves without a question, and the
page's own texts in French.

Usage: page_test.py --murmex MURMEX --examples EXAMPLES --work FOLDER [--screenshot PNG]
"""

import argparse
import pathlib
import re
import subprocess
import sys
import time

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

from headless_chromium import new_driver

DEMO_TITLE = "Brackenford: The Smith's Favour"
# The demo's colours as the window derives them from its header.
DEMO_COLORS = {
    ("html", "background-color"): "rgb(46, 63, 85)",
    ("#answer", "background-color"): "rgb(82, 111, 150)",
    ("#answer", "color"): "rgb(200, 185, 149)",
    ("#questions li:last-child button", "color"): "rgb(255, 236, 190)",
    # The focused question, like the hovered one, in the header's colour.
    ("#questions button:focus", "color"): "rgb(140, 190, 255)",
}
# The page always starts Intro; a plan that starts elsewhere gets there by
# Intro's hand-over, which changes nothing else.
HAND_OVERS = {"Mara": "Call on Mara in her herb garden.", "Smith": "Visit the Smith at his forge."}
MARKUP = "<img src=x onerror=document.title=1>"
MARKUP_SCRIPT = (
    "MurmexSrcFile\r\n"
    f'TITLE = "{MARKUP}"\r\nCOLOR = "10", "20", "30"\r\nTEXTCOLOR = "200", "200", "200"\r\n'
    '"Intro" {\r\n'
    '  { S = "0" N = "0" Q = "" A = "<script>document.title=2</script><b>bold</b>" ACT = "ACT_NONE" }\r\n'
    f'  {{ S = "0" N = "0" Q = "{MARKUP}" A = "</p><i>x</i>" ACT = "ACT_NONE" }}\r\n'
    "}\r\n"
)
# Intro asked once stands in state 1; `closed` puts a condition on state 1's
# questions that fails once "asked" is set.
def asking_script(closed):
    condition = '{ ID = "asked" OP = "not" } ' if closed else ""
    return (
        'MurmexSrcFile\r\nTITLE = "Ask"\r\nCOLOR = "10", "20", "30"\r\nTEXTCOLOR = "200", "200", "200"\r\n'
        '"Intro" {\r\n  { S = "0" N = "0" Q = "" A = "Hello." ACT = "ACT_NONE" }\r\n'
        '  { S = "0" N = "1" Q = "Ask" A = "Asked." ACT = "ACT_ADD_MEM" PARAM = "asked" VAL = "1" }\r\n'
        f'  {{ S = "1" N = "1" Q = "Again" A = "Again." ACT = "ACT_NONE" {condition}}}\r\n'
        f'  {{ S = "1" N = "-1" Q = "Bye" A = "Bye." ACT = "ACT_NONE" {condition}}}\r\n'
        "}\r\n"
    )


BROKEN_SCRIPT = 'MurmexSrcFile\r\nTITLE = "Broken"\r\nCOLOR = "1", "2"\r\n'


def quoted(text):
    return re.sub(r"\\(.)", r"\1", text)


def plan_steps(path):
    """The plan's start, choices and expected answers, in order."""
    steps = []
    for line in path.read_text(encoding="utf-8").splitlines():
        if match := re.match(r'start\s+"?([^"\s]+)', line):
            steps.append(("start", match[1]))
        elif match := re.match(r'choose\s+"((?:[^"\\]|\\.)*)"', line):
            steps.append(("choose", quoted(match[1])))
        elif match := re.match(r"choose\s+(\d+)", line):
            steps.append(("choose", int(match[1])))
        elif match := re.match(r'expect answer\s+"((?:[^"\\]|\\.)*)"', line):
            steps.append(("answer", quoted(match[1])))
    return steps


class Page:
    def __init__(self, driver):
        self.driver = driver

    def open(self, path):
        self.driver.get(path.resolve().as_uri())
        self.wait(lambda: self.answer() or self.failure())

    def wait(self, condition):
        for _ in range(500):
            if condition():
                return
            time.sleep(0.01)
        raise AssertionError("the page never got there")

    def answer(self):
        return self.driver.find_element(By.ID, "answer").text

    def failure(self):
        element = self.driver.find_element(By.ID, "failure")
        return element.text if element.is_displayed() else ""

    def buttons(self):
        return self.driver.find_elements(By.CSS_SELECTOR, "#questions button")

    def labels(self):
        return [button.text for button in self.buttons()]

    def position(self, choice):
        labels = self.labels()
        if isinstance(choice, int):
            return choice - 1
        assert choice in labels, f"{choice!r} is not offered: {labels}"
        return labels.index(choice)

    def choose(self, choice, by_keys):
        at = self.position(choice)
        if by_keys:
            self.driver.switch_to.active_element.send_keys(str(at + 1))
        else:
            self.buttons()[at].click()

    def restart(self):
        self.driver.find_element(By.ID, "restart").click()

    def computed(self, selector, property_name):
        return self.driver.execute_script(
            "return getComputedStyle(document.querySelector(arguments[0]))[arguments[1]]",
            selector,
            property_name,
        )


def play_plan(page, path, by_keys):
    page.restart()
    for kind, value in plan_steps(path):
        if kind == "start":
            page.choose(HAND_OVERS[value], by_keys)
        elif kind == "choose":
            page.choose(value, by_keys)
        else:
            assert page.answer() == value, f"{path.name}: answer {page.answer()!r}, expected {value!r}"


def check_reduced_motion(page):
    """The highlight fades in, but not for those who ask for less motion;
    the colours below are read without the fade."""
    assert page.computed("#questions button", "transitionDuration") != "0s"
    page.driver.execute_cdp_cmd(
        "Emulation.setEmulatedMedia",
        {"features": [{"name": "prefers-reduced-motion", "value": "reduce"}]},
    )
    assert page.computed("#questions button", "transitionDuration") == "0s"


def check_demo(page, examples):
    check_reduced_motion(page)
    assert page.driver.title == DEMO_TITLE, page.driver.title
    assert page.driver.find_element(By.TAG_NAME, "h1").text == DEMO_TITLE
    for (selector, name), expected in DEMO_COLORS.items():
        assert page.computed(selector, name) == expected, (selector, name, page.computed(selector, name))
    underlined = page.driver.find_element(By.CSS_SELECTOR, "#questions u")
    assert underlined.text == "S" and page.labels()[0] == "Visit the Smith at his forge."
    plans = sorted((examples / "plans").glob("*.plan"))
    for path in plans:
        for by_keys in (False, True):
            play_plan(page, path, by_keys)
    print(f"played {len(plans)} plans by clicks and by keys")


def check_phone_width(page):
    page.driver.set_window_size(360, 640)
    try:
        widths = page.driver.execute_script(
            "return [document.documentElement.scrollWidth, document.documentElement.clientWidth]"
        )
        assert widths[0] <= widths[1], f"the page is wider than a phone: {widths}"
    finally:
        page.driver.set_window_size(640, 560)
    print(f"fits a phone's width: {widths[0]} px")


def check_keys_and_live_region(page):
    page.restart()
    live = page.driver.find_element(By.ID, "answer")
    assert live.get_attribute("aria-live") == "polite"
    before = page.answer()
    focused = page.driver.switch_to.active_element
    assert focused.text == page.labels()[0], "focus is not on the first question"
    focused.send_keys(Keys.ARROW_DOWN)
    page.driver.switch_to.active_element.send_keys(Keys.ENTER)
    assert page.driver.find_element(By.CSS_SELECTOR, "h1").text == DEMO_TITLE
    assert page.answer() != before, "the live region did not change"
    assert "Mara" in page.answer()
    # Focus stays at the same position, here the second of three.
    assert page.driver.switch_to.active_element.text == page.labels()[1]
    page.restart()
    page.driver.switch_to.active_element.send_keys("s")
    assert "smith" in page.answer().lower(), page.answer()
    print("keys: Down and Enter, a mnemonic; the live region's text changed")


def check_reload_continues(page):
    page.restart()
    page.choose("Call on Mara in her herb garden.", False)
    page.choose("Do you need a hand with anything?", False)
    answer, labels = page.answer(), page.labels()
    page.driver.refresh()
    page.wait(page.answer)
    assert (page.answer(), page.labels()) == (answer, labels), "the reload did not continue"
    page.choose("What is in it?", True)
    assert page.answer() == "'Nothing for your eyes. Just see that he gets it.'"
    print(f"reload continued at {answer!r}")


def check_accessibility_tree(page):
    page.restart()
    nodes = page.driver.execute_cdp_cmd("Accessibility.getFullAXTree", {})["nodes"]
    named = [
        (node.get("role", {}).get("value"), node.get("name", {}).get("value"))
        for node in nodes
        if not node.get("ignored")
    ]
    buttons = [name for role, name in named if role == "button"]
    for label in page.labels():
        assert label in buttons, f"no button named {label!r} in {buttons}"
    texts = [name for role, name in named if role in ("StaticText", "paragraph")]
    assert page.answer() in texts, "the answer is not in the accessibility tree"
    lists = [role for role, _ in named if role == "list"]
    assert lists, "the questions are not a list"
    print(f"accessibility tree: the answer as text, a list, buttons {buttons}")


def publish(murmex, script, page_path, *options):
    return subprocess.run(
        [murmex, "publish", str(script), "-o", str(page_path), *options],
        capture_output=True,
        text=True,
    )


def check_broken(page, murmex, work):
    script = work / "broken.chr.txt"
    script.write_bytes(BROKEN_SCRIPT.encode())
    refused = publish(murmex, script, work / "refused.html", "--plain")
    assert refused.returncode == 1 and "error -3" in refused.stderr, refused
    made = publish(murmex, script, work / "broken.html", "--plain", "--allow-broken")
    assert made.returncode == 0, made.stderr
    page.open(work / "broken.html")
    assert page.failure() == "Err=-3\nLine=4\nErrStr=Syntax error: , expected", page.failure()
    assert page.buttons() == []
    print(f"broken page shows {page.failure()!r}")


def check_kept_game_without_questions(page, murmex, work):
    """A game kept from the last visit at a screen whose questions the
    republished script no longer offers: the page says why, and Restart
    starts afresh."""
    for name, closed in (("open", False), ("closed", True)):
        script = work / f"asking-{name}.chr.txt"
        script.write_bytes(asking_script(closed).encode())
        made = publish(murmex, script, work / f"asking-{name}.html", "--plain", "--id", "asking")
        assert made.returncode == 0, made.stderr
    page.open(work / "asking-open.html")
    page.choose("Ask", False)
    assert page.labels() == ["Again", "Bye"], page.labels()
    page.open(work / "asking-closed.html")
    said = page.failure()
    assert "No questions!" in said and page.buttons() == [], (said, page.labels())
    page.restart()
    assert (page.answer(), page.labels(), page.failure()) == ("Hello.", ["Ask"], "")
    print(f"a kept game that offers nothing: {said!r}")


def check_markup_is_text(page, murmex, work):
    script = work / "markup.chr.txt"
    script.write_bytes(MARKUP_SCRIPT.encode())
    made = publish(murmex, script, work / "markup.html", "--plain", "--no-autosave")
    assert made.returncode == 0, made.stderr
    page.open(work / "markup.html")
    driver = page.driver
    assert driver.title == MARKUP and driver.find_element(By.TAG_NAME, "h1").text == MARKUP
    assert page.answer() == "<script>document.title=2</script><b>bold</b>", (page.answer(), page.failure())
    assert page.labels() == [MARKUP]
    assert driver.find_elements(By.CSS_SELECTOR, "img, b, i, main script") == []
    page.choose(1, False)
    assert page.answer() == "</p><i>x</i>"
    assert driver.title == MARKUP, "a script text ran"
    print("markup in the script's texts is shown as text and runs nothing")


def check_stored_game_refused(page, murmex, examples, work):
    """A stored game the re-published page cannot continue is not dropped unseen."""
    path, script = work / "stranded.html", work / "stranded.chr.txt"
    demo = (examples / "demo.chr.txt").read_bytes()
    script.write_bytes(demo)
    assert publish(murmex, script, path, "--plain", "--id", "stranded").returncode == 0
    page.open(path)
    page.restart()
    page.choose("Sit down by the well and rest a while.", False)
    stored = "return localStorage.getItem('murmex:stranded')"
    saved = page.driver.execute_script(stored)
    # A unit inserted before the one the game was saved at moves it.
    well = demo.index(b'  { S = "0" N = "1" Q = "Sit down by the well')
    inserted = b'  { S = "0" N = "0" Q = "Ask about the weather." A = "Rain." ACT = "ACT_NONE" }\r\n'
    script.write_bytes(demo[:well] + inserted + demo[well:])
    made = publish(murmex, script, path, "--plain", "--id", "stranded")
    assert made.returncode == 0, made.stderr
    page.driver.refresh()
    page.wait(page.failure)
    words = page.failure()
    assert "Your saved game can't be continued" in words and "talk unit 5 of \"Intro\"" in words, words
    assert page.buttons() == [] and page.driver.execute_script(stored) == saved
    offered = page.driver.find_elements(By.CSS_SELECTOR, "#failure button")
    assert [button.text for button in offered] == ["Download the old save", "Start afresh"]
    offered[1].click()
    page.wait(page.answer)
    assert page.answer().startswith("Brackenford square at dusk."), page.answer()
    assert page.driver.execute_script(stored) != saved
    print("a stored game that no longer fits is explained, offered for download, then replaced")


def check_labels_in_language(page, murmex, examples, work):
    """The page's own texts are in the language it is published in."""
    path = work / "french.html"
    made = publish(murmex, examples / "demo.chr.txt", path, "--plain", "--no-autosave", "--language", "fr-CA")
    assert made.returncode == 0 and made.stderr == "", made
    page.open(path)
    shown = [page.driver.find_element(By.ID, name).text for name in ("restart", "save", "load")]
    assert shown == ["Recommencer", "Enregistrer dans un fichier", "Charger depuis un fichier"], shown
    assert page.driver.execute_script("return document.documentElement.lang") == "fr-CA"
    print(f"the page's own texts in French: {shown}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--murmex", required=True)
    parser.add_argument("--examples", type=pathlib.Path, required=True)
    parser.add_argument("--work", type=pathlib.Path, required=True)
    parser.add_argument("--screenshot", type=pathlib.Path)
    arguments = parser.parse_args()
    work = arguments.work
    work.mkdir(parents=True, exist_ok=True)
    demo = work / "demo.html"
    made = publish(arguments.murmex, arguments.examples / "demo.chr.txt", demo, "--plain", "--id", "page-test")
    assert made.returncode == 0, made.stderr
    driver = new_driver("--window-size=640,560", browser_log=True)
    try:
        page = Page(driver)
        page.open(demo)
        if arguments.screenshot:
            page.restart()
            page.choose("Call on Mara in her herb garden.", False)
            driver.save_screenshot(str(arguments.screenshot))
            page.restart()
        check_demo(page, arguments.examples)
        check_phone_width(page)
        check_keys_and_live_region(page)
        check_reload_continues(page)
        check_accessibility_tree(page)
        check_broken(page, arguments.murmex, work)
        check_markup_is_text(page, arguments.murmex, work)
        check_stored_game_refused(page, arguments.murmex, arguments.examples, work)
        check_kept_game_without_questions(page, arguments.murmex, work)
        check_labels_in_language(page, arguments.murmex, arguments.examples, work)
        errors = [entry for entry in driver.get_log("browser") if entry["level"] == "SEVERE"]
        assert errors == [], errors
    finally:
        driver.quit()
    print("page test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
