#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs Corvella on a virtual display with its accessibility bridge on, as under a screen reader:
# loads PDF1 and PDF2 from the command line, runs "Find Differences (Lines)" and "(Words)", then
# loads LOCKED (a PDF that needs a password) into pane 1 through the file dialog while READERS
# processes (3 by default) read every pane's text and colour runs every 0.3 s for 10 s, and
# checks that pane 1 shows the load's line break soon after its message is answered.
#
#   tools/screen-reader-check.sh PDF1 PDF2 LOCKED [READERS]
#
# PROGRAM (environment) is the program to start, build/release/corvella by default. Needs Xvfb
# (xvfb), dbus-run-session (dbus-daemon), the accessibility bus (at-spi2-core) and Debian's
# python3-pyatspi (see tools/accessible-session.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 3 ]; then
    sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
pdf1=$(realpath "$1")
pdf2=$(realpath "$2")
locked=$(realpath "$3")
readers=${4:-3}
program=$(realpath -m "${PROGRAM:-$root/build/release/corvella}")
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi is missing" >&2; exit 1; }

# The program and its driver share the session's bus.
"$root/tools/accessible-session.sh" bash -c '
    "$1" "$2" "$3" > "$SESSION_DIR/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$4" "$(basename "$1")" "$5" "$6" "$SESSION_DIR/reading" || status=$?
    kill $program 2>/dev/null
    exit $status
' check "$program" "$pdf1" "$pdf2" "$root/tools/screen-reader-check.py" "$locked" "$readers"
