#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Drives Corvella through the accessibility bus as tools/screen-reader-check.sh describes, while
# reader processes keep asking for the panes' text and colours, and says whether pane 1 showed the
# load's line break in time. Run by that script; needs Debian's python3-pyatspi.
import os
import subprocess
import sys
import time

import pyatspi

START = time.time()
READ_PERIOD = 0.3
READING = 10.0
CAUGHT_UP_WITHIN = 2.0


def log(*words):
    print("%6.2f" % (time.time() - START), *words, flush=True)


def walk(accessible, found, wanted):
    try:
        if wanted(accessible):
            found.append(accessible)
        for child in accessible:
            if child is not None:
                walk(child, found, wanted)
    except Exception:  # an object that went away while walking
        pass
    return found


def named(root, name, role):
    return walk(root, [], lambda a: a.name == name and a.getRole() == role)


def pane_text(app, number):
    panes = named(app, "RichTextBox%d" % number, pyatspi.ROLE_TEXT)
    return panes[0].queryText().getText(0, -1) if panes else None


def press(accessible):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i).lower() in ("press", "click"):
            action.doAction(i)
            return
    action.doAction(0)


def dialogs(app):
    return [w for w in app if w is not None and w.getRole() in (
        pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT, pyatspi.ROLE_FILE_CHOOSER)]


def answer_messages(app):
    """Presses OK in a message box; returns its text, or None without one."""
    for box in dialogs(app):
        ok = named(box, "OK", pyatspi.ROLE_PUSH_BUTTON)
        if ok:
            text = " ".join(l.name for l in walk(box, [], lambda a: a.getRole() == pyatspi.ROLE_LABEL)
                            if l.name)
            press(ok[0])
            return text
    return None


def wait_a_while(app, seconds):
    end = time.time() + seconds
    while time.time() < end:
        message = answer_messages(app)
        if message:
            log("message:", message)
        time.sleep(0.2)


def reader(name, flag):
    """Every READ_PERIOD, reads every pane's text and its colour runs until `flag` is gone."""
    app = find_app(name)
    panes = walk(app, [], lambda a: a.getRole() == pyatspi.ROLE_TEXT and a.name.startswith("RichTextBox"))
    calls = 0
    while os.path.exists(flag):
        for pane in panes:
            try:
                text = pane.queryText()
                count = text.characterCount
                text.getText(0, -1)
                offset = 0
                while offset < count and os.path.exists(flag):
                    _, _, end = text.getAttributeRun(offset, False)
                    offset = max(end, offset + 1)
                    calls += 1
            except Exception:
                pass
        time.sleep(READ_PERIOD)
    print("reader made %d calls" % calls, flush=True)


def find_app(name):
    for _ in range(300):
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name:
                return app
        time.sleep(0.1)
    sys.exit("%s never appeared on the accessibility bus" % name)


def main():
    if sys.argv[1] == "--reader":
        reader(sys.argv[2], sys.argv[3])
        return 0
    name, locked, readers, flag = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    app = find_app(name)
    loaded_by = time.time() + 30
    while time.time() < loaded_by:
        wait_a_while(app, 0.1)
        if all(len(pane_text(app, n) or "") > 2 for n in (1, 2)):
            break
    log("both PDFs loaded")
    for button in ("Find Differences (Lines)", "Find Differences (Words)"):
        press(named(app, button, pyatspi.ROLE_PUSH_BUTTON)[0])
        wait_a_while(app, 4)
        log("ran", button)

    open(flag, "w").close()
    started = [subprocess.Popen([sys.executable, __file__, "--reader", name, flag])
               for _ in range(readers)]
    press(named(app, "Load PDF File #1", pyatspi.ROLE_PUSH_BUTTON)[0])
    chooser = None
    while chooser is None:
        time.sleep(0.2)
        chooser = next(iter(dialogs(app)), None)
    field = walk(chooser, [], lambda a: a.getRole() == pyatspi.ROLE_TEXT and "name" in a.name.lower())
    field[0].queryEditableText().setTextContents(locked)
    time.sleep(0.5)
    press(named(chooser, "Open", pyatspi.ROLE_PUSH_BUTTON)[0])
    log("chose", locked)

    answered = None
    shown = None
    end = time.time() + READING
    while time.time() < end:
        message = answer_messages(app)
        if message:
            answered = time.time()
            log("message:", message)
        text = pane_text(app, 1)
        log("pane 1 shows", repr(text))
        if answered and text == "\n" and shown is None:
            shown = time.time()
        time.sleep(READ_PERIOD)
    os.remove(flag)
    for process in started:
        process.wait()
    log("reads stopped")
    time.sleep(5)
    log("pane 1 shows", repr(pane_text(app, 1)), "5 s later")
    if answered is None:
        log("FAIL: no message about the locked PDF")
        return 1
    if shown is None or shown - answered > CAUGHT_UP_WITHIN:
        log("FAIL: pane 1 did not show the line break while the panes were being read")
        return 1
    log("PASS: pane 1 showed the line break %.1f s after the message" % (shown - answered))
    return 0


if __name__ == "__main__":
    sys.exit(main())
