#!/usr/bin/python3
"""Walks the running program with the keyboard while Orca listens, and checks what Orca says at
each step: what a user hears, read from the "SPEECH OUTPUT" lines of Orca's debug log. Run inside
a11y_session.sh and orca_session.sh, with the program's path as argument.

ORCA_TRANSCRIPT_ONLY=1 walks the same way and prints what was heard at each step, checking
nothing.
"""
import os
import re
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError as error:
    sys.exit(f"FAIL: {error}; scripts/install-deps installs python3-pyatspi")

LIMIT = 30  # seconds for the program to come up; the machine may be loaded
CLICK = "click a column header"


class Step:
    """Keys to press, phrases that must be heard after them, and phrases that must not be. A
    phrase given as a tuple is heard when any one of its forms is."""

    def __init__(self, name, keys, expect=(), forbid=()):
        self.name, self.keys, self.expect, self.forbid = name, keys, expect, forbid


# Each step starts where the one before it left the focus. Moves that only lead to the next
# place worth listening to expect nothing. The two presses of Up raise the bar to 77.
STEPS = [
    Step("the window takes the focus", CLICK,
         ["progress percent: 75 %", "progress grid", "table with 11 rows 4 columns"]),
    Step("Down into the grid", ["Down"]),
    # Orca reads a whole row when it arrives on a cell, and names the new row when it arrives on
    # a control inside one: either tells the user where the button is.
    Step("Down to Up", ["Down"], ["up push button", ("row 2", "thanks to maravel")]),
    # Orca says the bar's value in words; the progress cell's text is spoken as it is written.
    # Orca speaks a progress bar's updates at most once in its progressBarUpdateInterval (10 s
    # at first), so a second press soon after is heard by the cell's text alone.
    Step("Space on Up", ["space"], ["76 percent", "76%"]),
    Step("Space on Up again", ["space"], ["77%"], ["76"]),
    Step("where am I on Up", ["KP_Enter"], ["up push button"]),
    Step("Down, Right towards Allow drag", ["Down", "Right"]),
    Step("Right to Allow drag", ["Right"], ["allow drag check box not checked"],
         ["allow drag check box checked"]),
    Step("Space on Allow drag", ["space"], ["checked"], ["not checked"]),
    Step("Space on Allow drag again", ["space"], ["not checked"]),
    Step("Up, Up towards row 0", ["Up", "Up"]),
    # Orca names a bar's role only while it knows no value; next to one, the bar's name will do.
    Step("Left to the cell under the bar", ["Left"],
         ["77 percent", ("progress bar", "progress 77 percent")], ["75 percent"]),
    Step("Tab to the next cell", ["Tab"], ["col 2"]),
    Step("Shift+Tab back", ["shift+Tab"], ["col 1"]),
]


def normal(text):
    """What a phrase is compared as: pauses and case do not matter, the words do."""
    return " ".join(re.sub(r"[.,;:!?]", " ", text.lower()).split())


class Speech:
    """Reads what Orca says from its debug log, as the log grows."""

    LINE = re.compile(r"SPEECH OUTPUT: '(.*?)'(?: voice=\S+)?\s*(\{.*\})?$", re.S)

    def __init__(self, path):
        self.path, self.offset = path, 0

    def _read(self):
        """Complete new lines, with Orca's continuation lines joined to the line they go on."""
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            data = log.read()
        complete = data[:data.rfind(b"\n") + 1]
        self.offset += len(complete)
        lines = []
        for line in complete.decode(errors="replace").splitlines():
            if line.startswith(" " * 18) and lines:
                lines[-1] += "\n" + line[18:]
            else:
                lines.append(line)
        return lines

    def said(self, lines):
        return [m.group(1) for m in map(self.LINE.search, lines) if m]

    def settle(self, least=1.5, first=4.0, quiet=0.7, limit=15.0):
        """What Orca says from now until it has been quiet for a while. Orca logs each event
        it handles, so a quiet log means it is done with what the step caused. It speaks the
        key itself before the program has even seen it, so a program slowed down by a loaded
        machine or the sanitizers gets the least time to answer, and a step that brings no
        speech at all ends after a few seconds."""
        start = last = time.monotonic()
        heard = []
        while True:
            lines = self._read()
            now = time.monotonic()
            if lines:
                last = now
                heard += self.said(lines)
            if now - start > limit:
                return heard
            if now - start > least and heard and now - last > quiet:
                return heard
            if not heard and now - start > first:
                return heard
            time.sleep(0.05)


def xdotool(*arguments):
    result = subprocess.run(["xdotool", *arguments], capture_output=True, text=True, timeout=LIMIT)
    if result.returncode != 0:
        raise AssertionError(f"xdotool {' '.join(arguments)}: {result.stderr.strip()}")
    return result.stdout.split()


def wait_for(what, condition):
    end = time.monotonic() + LIMIT
    while time.monotonic() < end:
        result = condition()
        if result:
            return result
        time.sleep(0.1)
    raise AssertionError(f"waited {LIMIT} s for {what}")


def program_window(program):
    """The program's table on the accessibility bus, and its X window."""
    desktop = pyatspi.Registry.getDesktop(0)

    def app():
        for i in range(desktop.childCount):
            candidate = desktop.getChildAtIndex(i)
            if candidate is not None and candidate.name == "Gridgauge" and candidate.childCount:
                return candidate
        return None

    window = wait_for("Gridgauge on the accessibility bus", app).getChildAtIndex(0)
    wait_for("the first refresh", lambda: window.name == "Progress percent: 75 %")
    table = next(window.getChildAtIndex(i) for i in range(window.childCount)
                 if window.getChildAtIndex(i).getRole() == pyatspi.ROLE_TABLE)
    ids = wait_for("the program's X window", lambda: subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--pid", str(program.pid)],
        capture_output=True, text=True).stdout.split())
    return table, ids[-1]


def click_header(table, window):
    # The last header: no label lies over it, and with sorting off a click does nothing but
    # bring the window to the front. No window manager is needed: the click gives the window
    # the X focus, Qt takes that for activation, and Orca hears it.
    header = table.getChildAtIndex(table.queryTable().nColumns - 1)
    box = header.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool("mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2), "click", "1")
    wait_for("the window to take the keyboard focus",
             lambda: xdotool("getwindowfocus") == [window])


def press(key, window):
    # Keys go where the keyboard focus is, as a user's do; it has to be the program's window.
    if xdotool("getwindowfocus") != [window]:
        raise AssertionError(f"the keyboard focus left the program's window before {key}")
    xdotool("key", key)


def listen(step, table, window, speech):
    """What Orca says to the step. Orca passes over a focus event whose object has lost the
    focus again by the time Orca gets to it, so on a loaded machine a quick second key would
    take the words of the first away; each key waits for Orca to finish with the one before."""
    if step.keys == CLICK:
        click_header(table, window)
        heard = speech.settle()
    else:
        heard = []
        for key in step.keys:
            press(key, window)
            heard += speech.settle()
    # Orca speaks the key at once, and a slow program's answer may come after a quiet spell:
    # what the step is waiting for gets the rest of the time limit to arrive.
    deadline = time.monotonic() + LIMIT
    while missing(step, heard)[0] and time.monotonic() < deadline:
        heard += speech.settle(least=0, first=1.0)
    return heard


def show(title, heard):
    """The transcript: each utterance as Orca's log quotes it."""
    print(title, *(f"    '{text}'" for text in heard), sep="\n", flush=True)


def missing(step, heard):
    text = normal(" ".join(heard))
    lacking = [phrase for phrase in step.expect
               if not any(normal(form) in text for form in
                          (phrase if isinstance(phrase, tuple) else (phrase,)))]
    extra = [phrase for phrase in step.forbid if normal(phrase) in text]
    return lacking, extra


def walk(program_path, log_path, transcript_only):
    speech = Speech(log_path)
    program = subprocess.Popen([program_path])
    failures = []
    try:
        table, window = program_window(program)
        show("0. Orca and the program start", speech.settle(least=0, first=1.0))
        for number, step in enumerate(STEPS, 1):
            heard = listen(step, table, window, speech)
            keys = step.keys if step.keys == CLICK else " ".join(step.keys)
            show(f"{number}. {step.name} [{keys}]", heard)
            if transcript_only:
                continue
            lacking, extra = missing(step, heard)
            if lacking or extra:
                failures.append(f"step {number}, {step.name} [{keys}]:\n"
                                f"    expected: {list(step.expect)}\n"
                                + (f"    lacking:  {lacking}\n" if lacking else "")
                                + (f"    must not hear: {list(step.forbid)}, heard {extra}\n"
                                   if extra else "")
                                + f"    heard:    {heard}")
    finally:
        program.terminate()
        try:
            program.wait(LIMIT)
        except subprocess.TimeoutExpired:
            program.kill()
    return failures


if __name__ == "__main__":
    if len(sys.argv) != 2 or not os.access(sys.argv[1], os.X_OK):
        sys.exit("usage: orca_walk.py path/to/gridgauge")
    log_path = os.environ.get("ORCA_DEBUG_LOG")
    if not log_path or not os.path.exists(log_path):
        sys.exit("FAIL: no Orca debug log; run inside orca_session.sh")
    transcript_only = os.environ.get("ORCA_TRANSCRIPT_ONLY") == "1"
    try:
        failures = walk(sys.argv[1], log_path, transcript_only)
    except AssertionError as error:
        sys.exit(f"FAIL: {error}")
    if failures:
        print(f"FAIL: Orca said something else in {len(failures)} of {len(STEPS)} steps",
              *failures, sep="\n", flush=True)
        sys.exit(1)
    print("transcript only, nothing checked" if transcript_only else "PASS", flush=True)
