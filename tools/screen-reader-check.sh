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
# python3-pyatspi; the tests do not, so tools/install-deps.sh leaves them out.
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
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "python3-pyatspi is missing" >&2; exit 1; }

work=$(mktemp -d /tmp/corvella-screen-reader-XXXXXX)
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=$(head -1 "$work/display")
# The display's socket may lag its number.
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=:$display
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME=$work XDG_CONFIG_HOME=$work/config TEMP=$work

# The program and its driver share a private session bus, which starts the accessibility bus.
dbus-run-session -- bash -c '
    "$1" "$2" "$3" > "$7/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$4" "$(basename "$1")" "$5" "$6" "$7/reading" || status=$?
    kill $program 2>/dev/null
    exit $status
' check "$program" "$pdf1" "$pdf2" "$root/tools/screen-reader-check.py" "$locked" "$readers" \
    "$work"
