#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Reads the running program through the accessibility bus, as a screen reader does, until its
# review window is a window of its own whose list of changes has rows and whose heading gives
# their count; prints what it found and fails after TIMEOUT seconds without it. Message boxes
# shown on the way are answered with OK.
#
#   ReviewWindowOnTheBus.py APPLICATION TIMEOUT
import sys
import time

import pyatspi


def walk(accessible, wanted, found):
    try:
        if wanted(accessible):
            found.append(accessible)
        for child in accessible:
            if child is not None:
                walk(child, wanted, found)
    except Exception:  # an object that went away while walking
        pass
    return found


def application(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == name:
            return app
    return None


def answer_messages(app):
    """Presses OK in the message boxes the program shows as it starts (no PDF printer, say)."""
    for window in app:
        if window is None or window.getRole() not in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG):
            continue
        for button in walk(window, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON
                           and a.name == "OK", []):
            print("answered: %s" % window.name)
            button.queryAction().doAction(0)


def review(app):
    """The review window's role, the rows of its list and its heading, once all are there."""
    windows = [w for w in app if w is not None and w.name == "Review of the changes"]
    if not windows:
        return None
    window = windows[0]
    tables = walk(window, lambda a: a.getRole() == pyatspi.ROLE_TABLE and a.name == "Changes", [])
    headings = walk(window, lambda a: a.name == "Counts of the changes", [])
    if not tables or not headings:
        return None
    rows = tables[0].queryTable().nRows
    heading = headings[0].queryText().getText(0, -1)
    if rows == 0 or "changes:" not in heading:
        return None
    return window.getRoleName(), rows, heading


def main():
    name, timeout = sys.argv[1], float(sys.argv[2])
    deadline = time.time() + timeout
    while time.time() < deadline:
        app = application(name)
        found = None
        if app is not None:
            answer_messages(app)
            found = review(app)
        if found:
            role, rows, heading = found
            print("role=%s rows=%d heading=%s" % (role, rows, heading))
            if role != "frame":
                print("the review window is a %s, not a window of its own" % role)
                return 1
            return 0
        time.sleep(0.5)
    print("no review window with a filled list of changes on the bus within %d s" % timeout)
    return 1


sys.exit(main())
