#!/usr/bin/python3
"""Kavrin_Solve as a screen reader sees it: the AT-SPI tree of the running program.

Run inside a private D-Bus session (dbus-run-session); starts its own Xvfb and a copy of the
program in a throw-away home. Checks that every square and panel tile has a name and role that
say what the player sees, that names follow changes of the board, that a search is heard once,
when it ends, and not trial by trial, and that the menus keep their names.
Usage: accessibility_tree_test.py PATH_TO_Kavrin_Solve
"""
import collections
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import pyatspi
from gi.repository import GLib

failures = []
heard = []  # the names that change events announced, as a screen reader hears them


def listen():
    pyatspi.Registry.registerEventListener(lambda event: heard.append(event.source.name),
                                           "object:property-change:accessible-name")


def pump():
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


def check(what, actual, expected):
    if actual == expected:
        print(f"ok    {what}")
    else:
        print(f"FAIL  {what}: {actual!r}, expected {expected!r}")
        failures.append(what)


def eventually(read, expected, seconds=10):
    """The value once it equals `expected`, or the last one read when time runs out: names reach
    the bus a moment after the change."""
    end = time.monotonic() + seconds
    value = read()
    while value != expected and time.monotonic() < end:
        time.sleep(0.1)
        pump()
        value = read()
    return value


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def find_program(name):
    for _ in range(100):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    raise SystemExit(f"FAIL  {name} never appeared on the accessibility bus")


def named(app, role):
    return {node.name: node for node in nodes(app) if node.getRoleName() == role}


def xdotool(env, *arguments):
    subprocess.run(["xdotool", *arguments], env=env, check=True, stdout=subprocess.DEVNULL)


def answer_box(app, env):
    """Return, once a message box is up: its default button."""
    check("a message box comes up", eventually(lambda: any(w.getRoleName() == "alert" for w in app), True), True)
    xdotool(env, "key", "Return")
    eventually(lambda: any(w.getRoleName() == "alert" for w in app), False)


def puzzle_file(folder):
    """Square 1 holds a given 7, square 2 a solver's 3; the rest is empty."""
    path = os.path.join(folder, "names.kvr")
    with open(path, "wb") as file:
        file.write(bytes([7, 0xFF, 0xFF, 3, 0, 0]) + bytes(243 - 6))
    return path


def main():
    home = tempfile.mkdtemp(prefix="kavrin-a11y-")
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.PIPE)
    program = None
    try:
        display = ":" + xvfb.stdout.readline().decode().strip()
        os.makedirs(os.path.join(home, "run"), mode=0o700)
        env = dict(os.environ, DISPLAY=display, HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run"),
                   XDG_DATA_HOME=os.path.join(home, "data"), XDG_CONFIG_HOME=os.path.join(home, "config"),
                   QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        # A copy, so that its recent list beside it is throw-away too.
        binary = os.path.join(home, "Kavrin_Solve")
        shutil.copy(sys.argv[1], binary)
        program = subprocess.Popen([binary, puzzle_file(home)], env=env)
        app = find_program("Kavrin_Solve")
        listen()

        cells = named(app, "table cell")
        check("81 squares with names", len(cells), 81)
        tiles = named(app, "label")
        check("81 tiles with names", len([n for n in tiles if n.startswith("Row ")]), 81)
        check("a given digit", "Row 1, column 1: 7, given" in cells, True)
        check("a solver's digit", "Row 1, column 2: 3, placed by the solver" in cells, True)
        check("an empty square", "Row 9, column 9: empty" in cells, True)
        check("a tile before the panel is shown", "Row 5, column 4: blank" in tiles, True)
        menus = [node.name for node in nodes(app)
                 if node.getRoleName() == "menu item" and node.parent.getRoleName() == "menu bar"]
        check("the menus keep their names", menus, ["File", "Game", "Help"])

        # Square 1 has the focus at start; typing over its 7 and checking the grid renames it.
        square = cells["Row 1, column 1: 7, given"]
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--class", "Kavrin_Solve"],
                                env=env, check=True, capture_output=True, text=True).stdout.split()[0]
        xdotool(env, "windowfocus", "--sync", window)
        xdotool(env, "key", "3")
        check("the name follows a typed digit", eventually(lambda: square.name, "Row 1, column 1: 3, given"),
              "Row 1, column 1: 3, given")
        check("a screen reader hears the change",
              eventually(lambda: "Row 1, column 1: 3, given" in heard, True), True)
        xdotool(env, "key", "ctrl+c")  # Check Diagram marks the two 3s of row 1
        check("the name tells a check's mark", eventually(lambda: square.name, "Row 1, column 1: 3, given, marked"),
              "Row 1, column 1: 3, given, marked")
        time.sleep(0.5)
        xdotool(env, "key", "Return")  # the report's message box

        # The panel lies right of the grid: widen the window, then double-click it.
        xdotool(env, "windowsize", window, "900", "560")
        panel = named(app, "frame")["Available numbers"]
        x, y = panel.queryComponent().getPosition(pyatspi.WINDOW_COORDS)
        time.sleep(0.5)
        xdotool(env, "mousemove", "--window", window, str(x + 220), str(y + 10), "click", "--repeat", "2", "1")
        tile = panel.getChildAtIndex(2)
        check("a tile names the digits still possible",
              eventually(lambda: tile.name, "Row 1, column 3: 1 2 4 5 6 7 8 9 possible"),
              "Row 1, column 3: 1 2 4 5 6 7 8 9 possible")
        check("a filled square's tile", panel.getChildAtIndex(0).name, "Row 1, column 1: none possible")

        # A search on an empty grid: its trials reach no screen reader; when it ends, each square
        # that changed is heard once, and every name tells the solver's digit.
        # With no window manager here, the keys go back to the game only when given to it.
        xdotool(env, "windowfocus", "--sync", window, "key", "F2")
        answer_box(app, env)  # Yes, the entries may go
        check("New empties the grid", eventually(lambda: sum(n.name.endswith(": empty") for n in cells.values()), 81), 81)
        time.sleep(0.5)
        pump()
        heard.clear()
        xdotool(env, "windowfocus", "--sync", window, "key", "ctrl+a")
        answer_box(app, env)  # Yes, the last attempt
        solved = re.compile(r"Row \d, column \d: [1-9], placed by the solver$")
        check("every square names the solver's digit",
              eventually(lambda: sum(bool(solved.match(n.name)) for n in cells.values()), 81), 81)
        time.sleep(1)
        pump()
        times_heard = collections.Counter(name.split(":")[0] for name in heard if name and name.startswith("Row "))
        check("each square heard once", (len(times_heard), max(times_heard.values(), default=0)), (81, 1))
        answer_box(app, env)  # "I finished my work."
    finally:
        if program:
            program.terminate()
            program.wait()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(home, ignore_errors=True)
    print(f"accessibility tree: {len(failures)} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
