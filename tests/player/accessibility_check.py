#!/usr/bin/env python3
"""The real kestrine as a screen reader sees it: on a virtual display with an
accessibility bus of its own, the window is read through AT-SPI. The answer
reads as static text with its shown text, the offered questions as list items
("2 of 3"), and a question's press action plays it: the answer changes and an
event says so.

Usage: accessibility_check.py KESTRINE GAME_FOLDER QUESTION_COUNT
Exits 0 when all holds, 1 on a fault, 77 (skipped) where the display or the
accessibility bus is not available, saying why.
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
INNER = "KESTRINE_ATSPI_INNER"


def skip(reason):
    print("skipped: " + reason)
    return SKIP


def interpreter():
    """This Python, or the system's where only that one has the Debian package."""
    try:
        import pyatspi  # noqa: F401
        return sys.executable
    except ImportError:
        return "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


def outer(argv):
    """Runs this script again under xvfb-run and dbus-run-session, and ends
    the whole process group if it does not finish in time."""
    for tool in ("xvfb-run", "dbus-run-session"):
        if shutil.which(tool) is None:
            return skip(tool + " is not installed")
    with tempfile.TemporaryDirectory() as home:
        runtime = os.path.join(home, "runtime")
        os.mkdir(runtime, 0o700)
        env = dict(os.environ, HOME=home, XDG_RUNTIME_DIR=runtime, **{INNER: "1"})
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        command = ["xvfb-run", "-a", "dbus-run-session", "--", interpreter()] + argv
        run = subprocess.Popen(command, env=env, start_new_session=True)
        try:
            return run.wait(timeout=40)
        except subprocess.TimeoutExpired:
            print("fault: the check did not end within 40 s")
            return 1
        finally:
            try:
                os.killpg(run.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass


def wait_for(what, seconds, poll):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = what()
        if found:
            return found
        poll()
    return None


def inner(argv):
    try:
        import pyatspi
        from gi.repository import GLib
    except ImportError as error:
        return skip("pyatspi is not available (%s)" % error)
    player, game, question_count = argv[0], argv[1], int(argv[2])
    context = GLib.MainContext.default()

    def poll():
        while context.iteration(False):
            pass
        time.sleep(0.05)

    try:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount
    except Exception as error:  # the bus did not start
        return skip("the accessibility bus is not available (%s)" % error)

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    process = subprocess.Popen([player], cwd=game, env=env)
    try:
        def application():
            for app in desktop:
                if app is not None and app.get_process_id() == process.pid:
                    return app
            return None

        def readable_window():
            app = application()
            if app is None:
                return None
            app.clearCache()
            for window in app:
                items = [c for c in window if c.getRole() == pyatspi.ROLE_LIST]
                if items and items[0].childCount > 0:
                    return window
            return None

        window = wait_for(readable_window, 10, poll)
        if window is None:
            print("fault: no kestrine window with a list of questions on the accessibility bus")
            return 1

        def answer():
            window.clearCache()
            texts = [c for c in window if c.getRole() in (pyatspi.ROLE_LABEL, pyatspi.ROLE_STATIC)]
            return texts[0] if texts else None

        faults = []
        shown = answer()
        if shown is None:
            print("fault: no answer text")
            return 1
        first = shown.name
        print("answer: " + first)
        if not first or shown.queryText().getText(0, -1) != first:
            faults.append("the answer's name and text differ or are empty")
        questions = [c for c in window if c.getRole() == pyatspi.ROLE_LIST][0]
        items = list(questions)
        for index, item in enumerate(items):
            print("question %s: %s" % (item.description, item.name))
            if item.getRole() != pyatspi.ROLE_LIST_ITEM or "&" in item.name:
                faults.append("question %d is no list item or shows a mark" % index)
            if item.description != "%d of %d" % (index + 1, len(items)):
                faults.append("question %d says %r" % (index, item.description))
        if len(items) != question_count:
            faults.append("%d questions instead of %d" % (len(items), question_count))

        announced = []
        pyatspi.Registry.registerEventListener(
            lambda event: announced.append(event.source.name),
            "object:property-change:accessible-name")
        action = items[0].queryAction()
        if action.getName(0).lower() != "press":
            faults.append("the action is %r, not press" % action.getName(0))
        action.doAction(0)
        if wait_for(lambda: answer() is not None and answer().name != first, 5, poll) is None:
            faults.append("pressing the first question left the answer as it was")
        else:
            print("after pressing: " + answer().name)
        if wait_for(lambda: answer().name in announced, 3, poll) is None:
            faults.append("no name change was announced for the new answer")
        for fault in faults:
            print("fault: " + fault)
        return 1 if faults else 0
    finally:
        process.kill()
        process.wait()


if __name__ == "__main__":
    arguments = sys.argv[1:]
    if len(arguments) != 3:
        print(__doc__)
        sys.exit(2)
    sys.exit(inner(arguments) if os.environ.get(INNER) else outer([os.path.abspath(__file__), os.path.abspath(arguments[0]), os.path.abspath(arguments[1]), arguments[2]]))
