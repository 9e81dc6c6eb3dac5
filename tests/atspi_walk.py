#!/usr/bin/python3
"""Walks the running program the way a screen reader does, over AT-SPI: finds the window, the
table and the progress bar, moves the cell focus with the keyboard, presses "Up" and toggles
"Allow drag" through their accessible actions, and checks what comes back. Prints what a screen
reader hears at each step. Run inside a11y_session.sh, with the program's path as argument.

Waits are on conditions, with generous limits: the machine may be loaded.
"""
import os
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import Atspi, GLib
except ImportError as error:
    sys.exit(f"FAIL: {error}; scripts/install-deps installs python3-pyatspi")

LIMIT = 30  # seconds for any one thing to happen
XK_DOWN, XK_RIGHT = 0xFF54, 0xFF53
context = GLib.MainContext.default()
heard = []  # (event type, detail1, role, name), in order
focused = []  # the source of each focus event, as a screen reader keeps it


def fail(message):
    raise AssertionError(f"{message}\n  heard: {heard[-12:]}")


def pump():
    while context.pending():
        context.iteration(False)


def wait_for(what, condition):
    end = time.monotonic() + LIMIT
    while True:
        pump()
        result = condition()
        if result:
            return result
        if time.monotonic() > end:
            fail(f"waited {LIMIT} s for {what}")
        time.sleep(0.01)


def on_event(event):
    try:
        role, name = event.source.getRoleName(), event.source.name
    except Exception:  # the source may already be gone
        role, name = "?", "?"
    heard.append((event.type, event.detail1, role, name))
    if event.type.startswith("focus"):
        focused.append(event.source)


def say(step, text):
    print(f"{step:<24} {text}", flush=True)


def children(accessible):
    return [accessible.getChildAtIndex(i) for i in range(accessible.childCount)]


def by_role(accessible, role):
    found = [child for child in children(accessible) if child.getRole() == role]
    if len(found) != 1:
        fail(f"{len(found)} children with role {role} under {accessible.getRoleName()}")
    return found[0]


def action(accessible, name):
    actions = accessible.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if name not in names:
        fail(f"no {name} action on {accessible.getRoleName()} '{accessible.name}': {names}")
    return lambda: actions.doAction(names.index(name))


def states(accessible):
    return accessible.getState()


def value_of(bar):
    value = bar.queryValue()
    return value.currentValue, value.minimumValue, value.maximumValue


def focus_events():
    return [(role, name) for kind, detail, role, name in heard if kind.startswith("focus")]


def key(keysym, focus_count):
    """Presses a key and waits for the cell it moves to to be announced."""
    Atspi.generate_keyboard_event(keysym, None, Atspi.KeySynthType.SYM)
    wait_for("a focus event", lambda: len(focus_events()) > focus_count)
    return focus_events()[-1]


def walk(program):
    pyatspi.Registry.registerEventListener(
        on_event, "focus:", "window:activate", "object:state-changed:checked",
        "object:property-change:accessible-name", "object:property-change:accessible-value")
    started = subprocess.Popen([program])
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        app = wait_for("Gridgauge on the accessibility bus", lambda: next(
            (a for a in children(desktop) if a is not None and a.name == "Gridgauge"), None))
        window = wait_for("the window", lambda: app.childCount == 1 and app.getChildAtIndex(0))
        if window.getRole() not in (pyatspi.ROLE_WINDOW, pyatspi.ROLE_FRAME):
            fail(f"the window is a {window.getRoleName()}")
        wait_for("the first refresh", lambda: window.name == "Progress percent: 75 %")
        table = by_role(window, pyatspi.ROLE_TABLE)
        bar = by_role(window, pyatspi.ROLE_PROGRESS_BAR)
        labels = [c.name for c in children(window) if c.getRole() == pyatspi.ROLE_LABEL]
        grid = table.queryTable()
        headers = [grid.getColumnDescription(c) for c in range(grid.nColumns)]
        if (table.name, grid.nRows, headers) != ("Progress grid", 11, [f"Col {c}" for c in range(4)]):
            fail(f"the table is '{table.name}', {grid.nRows} rows, headers {headers}")
        if value_of(bar) != (75, 0, 100):
            fail(f"{bar.name} holds {value_of(bar)}")
        if labels != ["Label 0", "Label 1", "Label 2"]:
            fail(f"the labels read {labels}")
        say("start", f"{window.getRoleName()} '{window.name}'; {table.getRoleName()} "
            f"'{table.name}' {grid.nRows}x{grid.nColumns}; {bar.getRoleName()} "
            f"'{bar.name}' {value_of(bar)[0]:.0f} of 0..100; labels {labels}")

        # A click on a column header, where no label lies, brings the window to the front as a
        # sighted helper would; with sorting off it does nothing else. Focus lands on the grid.
        header = table.getChildAtIndex(grid.nColumns - 1)
        extents = header.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        Atspi.generate_mouse_event(extents.x + extents.width // 2,
                                   extents.y + extents.height // 2, "b1c")
        wait_for("the table to take the focus", lambda: ("table", "Progress grid") in focus_events())
        say("window active", f"focus {focus_events()[-1]}")

        cells = [key(XK_DOWN, 1)]  # the first key shows where focus starts
        cells.append(key(XK_DOWN, 2))
        # On a cell of buttons the focus is the button that Space presses, inside its cell.
        if cells != [("table cell", ""), ("push button", "Up")]:
            fail(f"arrowing to Up announced {cells}")
        up = focused[-1]
        if (up.parent.getRole(), up.parent.name) != (pyatspi.ROLE_TABLE_CELL, "Up"):
            fail(f"Up lies in {up.parent.getRoleName()} '{up.parent.name}'")
        if not states(up).contains(pyatspi.STATE_ENABLED):
            fail("Up is not enabled")
        say("arrow to Up", f"focus {cells[0]}, then {cells[1]} in {up.parent.getRoleName()} "
            f"'{up.parent.name}', with a Press action")

        before = len(heard)
        action(up, "Press")()
        wait_for("the caption to follow", lambda: window.name == "Progress percent: 76 %")
        wait_for(f"{bar.name} to hold 76", lambda: value_of(bar) == (76, 0, 100))
        news = [(kind, role, name) for kind, _, role, name in heard[before:]
                if kind.startswith("object:property-change")]
        say("press Up", f"{bar.getRoleName()} value 76; window name '{window.name}'; "
            f"changes heard {news}")

        count = len(focus_events())
        walked = [key(XK_DOWN, count), key(XK_RIGHT, count + 1), key(XK_RIGHT, count + 2)]
        if walked != [("table cell", ""), ("table cell", "75%"), ("table cell", "Allow drag")]:
            fail(f"arrowing to Allow drag announced {walked}")
        box = focused[-1]
        if not states(box).contains(pyatspi.STATE_FOCUSED):
            fail("the cell announced last has no focus")
        # Qt's bridge sends no checkable state: the toggle action says it to screen readers, as
        # in Qt's own item views, and the cell's one child, a check box, to whatever looks in.
        toggle = action(box, "Toggle")
        inside = children(box)
        if [(c.getRole(), c.name) for c in inside] != [(pyatspi.ROLE_CHECK_BOX, "Allow drag")]:
            fail(f"Allow drag holds {[(c.getRoleName(), c.name) for c in inside]}")
        check = inside[0]
        if states(box).contains(pyatspi.STATE_CHECKED) or states(check).contains(
                pyatspi.STATE_CHECKED):
            fail("Allow drag starts checked")
        say("arrow to Allow drag", f"focus {walked[0]}, {walked[1]}, {walked[2]}: "
            f"not checked, with a Toggle action and a {check.getRoleName()} inside")

        toggle()
        wait_for("Allow drag to be checked", lambda: states(box).contains(pyatspi.STATE_CHECKED)
                 and states(check).contains(pyatspi.STATE_CHECKED))
        wait_for("the checked state to be announced", lambda: any(
            kind == "object:state-changed:checked" and detail == 1 and name == "Allow drag"
            for kind, detail, _, name in heard))
        say("toggle Allow drag", "state-changed checked 1 on 'Allow drag'")
    finally:
        started.terminate()
        started.wait(LIMIT)


if __name__ == "__main__":
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit("usage: atspi_walk.py path/to/gridgauge")
    try:
        walk(sys.argv[1])
    except AssertionError as error:
        sys.exit(f"FAIL: {error}")
    print("PASS", flush=True)
