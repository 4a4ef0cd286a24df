#!/usr/bin/env python3
"""Smoke test of kestrine.exe under wine, on an Xvfb display of its own with no
window manager, driven by xdotool and read back by pixels (xwd): the caption,
the line, text and hover colours, a click that changes the answer, Alt+Space
to the About box, the key 1 asking a question, "Koniec" ending with 0, and a folder without data.chr giving
the message box and 255. Control positions come from the dialog template in
dialog units, scaled by the window's size; the title and colours come from
`murmex dump` of the same data.chr.

Usage: win32_window_smoke.py TEMPLATES KESTRINE MURMEX DATA [--screenshot PNG] -- EMULATOR...
"""
import argparse
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

TIMEOUT = 60


class Failure(Exception):
    pass


def check(condition, what):
    if not condition:
        raise Failure(what)
    print("ok:", what, flush=True)


def wait_for(condition, what, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    raise Failure("timed out waiting for " + what)


# --- the template ----------------------------------------------------------

def conversation_template(path):
    """Control rectangles in dialog units by identifier name, and the size."""
    source = open(path, encoding="utf-8").read()
    controls = {}
    block = source[source.index("CONVERSATION_CONTROLS[]"):source.index("ABOUT_CONTROLS[]")]
    for match in re.finditer(r'\{(CONTROL_\w+), ControlKind::\w+, "[^"]*", (\d+), (\d+), (\d+), (\d+)',
                             block):
        controls[match.group(1)] = tuple(int(n) for n in match.groups()[1:])
    dialog = source[source.index("CONVERSATION_DIALOG = {"):]
    numbers = re.findall(r"^\s*(\d+),", dialog, re.M)
    return controls, (int(numbers[2]), int(numbers[3]))


# --- the display -----------------------------------------------------------

class Display:
    def __init__(self):
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.name = ":" + pipe.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name)

    def close(self):
        self.server.terminate()
        self.server.wait()

    def xdotool(self, *arguments):
        run = subprocess.run(["xdotool", *arguments], env=self.env, capture_output=True, text=True)
        return run.stdout.strip() if run.returncode == 0 else ""

    def window(self, name):
        found = self.xdotool("search", "--onlyvisible", "--name", "^" + re.escape(name) + "$")
        return found.split()[0] if found else ""

    def geometry(self, window):
        text = self.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=") for line in text.splitlines())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def grab(self):
        """The whole screen as (width, pixel function)."""
        data = subprocess.run(["xwd", "-root", "-silent"], env=self.env, check=True,
                              capture_output=True).stdout
        fields = struct.unpack(">25I", data[:100])
        header, width, height = fields[0], fields[4], fields[5]
        bytes_per_pixel, stride, colours = fields[11] // 8, fields[12], fields[19]
        start = header + colours * 12

        def pixel(x, y):
            i = start + y * stride + x * bytes_per_pixel
            return data[i + 2], data[i + 1], data[i]
        return width, height, pixel


def write_png(path, width, height, pixel, box):
    left, top, right, bottom = box
    rows = b"".join(b"\0" + bytes(c for x in range(left, right) for c in pixel(x, y))
                    for y in range(top, bottom))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n" +
                  chunk(b"IHDR", struct.pack(">IIBBBBB", right - left, bottom - top, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


# --- the test --------------------------------------------------------------

def scaled(colour, factor):
    return tuple(component * factor // 255 for component in colour)


class Window:
    """The running conversation window: pixels of its controls by template."""

    def __init__(self, display, window, controls, size):
        self.display = display
        self.x, self.y, self.width, self.height = display.geometry(window)
        self.controls = controls
        self.scale = (self.width / size[0], self.height / size[1])

    def rect(self, control):
        x, y, w, h = self.controls[control]
        sx, sy = self.scale
        return (self.x + round(x * sx), self.y + round(y * sy),
                self.x + round((x + w) * sx), self.y + round((y + h) * sy))

    def centre(self, control):
        left, top, right, bottom = self.rect(control)
        return (left + right) // 2, (top + bottom) // 2

    def colours(self, control):
        """How many pixels of each colour the control shows, inside a 1-pixel margin."""
        _, _, pixel = self.display.grab()
        left, top, right, bottom = self.rect(control)
        counts = {}
        for y in range(top + 1, bottom - 1):
            for x in range(left + 1, right - 1):
                colour = pixel(x, y)
                counts[colour] = counts.get(colour, 0) + 1
        return counts

    def pixels(self, control):
        _, _, pixel = self.display.grab()
        left, top, right, bottom = self.rect(control)
        return [pixel(x, y) for y in range(top, bottom) for x in range(left, right)]


def start(emulator, kestrine, folder, display):
    return subprocess.Popen([*emulator, kestrine], cwd=folder, env=display.env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def play_demo(args, display, header, controls, size, folder):
    process = start(args.emulator, args.kestrine, folder, display)
    try:
        found = wait_for(lambda: display.window(header["title"]), "the window with the script's title")
        check(bool(found), "caption is the script's title")
        window = Window(display, found, controls, size)
        colour, text = tuple(header["color"]), tuple(header["textColor"])
        line_colour, answer_colour = scaled(colour, 150), scaled(text, 200)
        display.xdotool("mousemove", "0", "0")
        time.sleep(1)
        if args.screenshot:
            width, height, pixel = display.grab()
            write_png(args.screenshot, width, height, pixel,
                      (window.x, window.y, window.x + window.width, window.y + window.height))
        question = window.colours("CONTROL_QUESTION_0")
        check(max(question, key=question.get) == line_colour, "question line has the line colour")
        check(question.get(text, 0) > 0, "question text has the text colour")
        answer = window.colours("CONTROL_ANSWER")
        check(max(answer, key=answer.get) == line_colour, "answer area has the line colour")
        check(answer.get(answer_colour, 0) > 0, "answer text has the answer colour")

        display.xdotool("mousemove", *map(str, window.centre("CONTROL_QUESTION_0")))
        wait_for(lambda: window.colours("CONTROL_QUESTION_0").get(colour, 0) > 0, "the hover colour")
        check(window.colours("CONTROL_QUESTION_0").get(text, 0) == 0,
              "hovered question is drawn in the header colour")

        before = window.pixels("CONTROL_ANSWER")
        display.xdotool("click", "1")
        wait_for(lambda: window.pixels("CONTROL_ANSWER") != before, "a new answer")
        check(True, "a click on a question changes the answer")

        # Without a window manager the window gets the keyboard only when
        # given it. The About entry is the system menu's last: Up from the first.
        display.xdotool("windowfocus", "--sync", found)
        display.xdotool("key", "alt+space")
        time.sleep(1)
        display.xdotool("key", "Up", "Return")
        about = wait_for(lambda: display.window("About Kestrine"), "the About box")
        check(bool(about), "Alt+Space reaches the About box")
        display.xdotool("key", "--window", about, "Escape")
        wait_for(lambda: not display.window("About Kestrine"), "the About box to close")

        # The keys play through the same logic: the digit 1 asks the first question.
        before = window.pixels("CONTROL_ANSWER")
        display.xdotool("windowfocus", "--sync", found)
        display.xdotool("key", "1")
        wait_for(lambda: window.pixels("CONTROL_ANSWER") != before, "a new answer after the key 1")
        check(True, "the key 1 asks the first question")

        display.xdotool("mousemove", *map(str, window.centre("CONTROL_CANCEL")), "click", "1")
        status = process.wait(TIMEOUT)
        check(status == 0, "Koniec ends the player with 0 (got %d)" % status)
    finally:
        if process.poll() is None:
            process.kill()


def missing_script(args, display, folder):
    process = start(args.emulator, args.kestrine, folder, display)
    try:
        name = os.path.splitext(os.path.basename(args.kestrine))[0]
        box = wait_for(lambda: display.window(name), "the message box captioned " + name)
        check(bool(box), "a missing data.chr gives a message box captioned with the program's name")
        display.xdotool("key", "--window", box, "Return")
        status = process.wait(TIMEOUT)
        check(status == 255, "the player then ends with 255 (got %d)" % status)
    finally:
        if process.poll() is None:
            process.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("templates")
    parser.add_argument("kestrine")
    parser.add_argument("murmex")
    parser.add_argument("data")
    parser.add_argument("--screenshot")
    split = sys.argv.index("--") if "--" in sys.argv else len(sys.argv)
    args = parser.parse_args(sys.argv[1:split])
    args.emulator = sys.argv[split + 1:]

    controls, size = conversation_template(args.templates)
    dump = subprocess.run([*args.emulator, args.murmex, "dump", args.data], check=True,
                          capture_output=True, text=True).stdout
    header = json.loads(dump)
    display = Display()
    try:
        with tempfile.TemporaryDirectory() as demo, tempfile.TemporaryDirectory() as empty:
            shutil.copy(args.data, os.path.join(demo, "data.chr"))
            play_demo(args, display, header, controls, size, demo)
            missing_script(args, display, empty)
    except Failure as failure:
        print("FAILED:", failure, flush=True)
        return 1
    finally:
        display.close()
    print("window smoke test passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
