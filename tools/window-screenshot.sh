#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Corvella on a virtual display with two PDFs on its command line, clicks "Find Differences
# (Lines)" and saves a screenshot of the window.
#
#   tools/window-screenshot.sh [--ignoring-layout] PDF1 PDF2 [OUTPUT.png]
#
# --ignoring-layout runs "Find Differences (Ignoring Layout)" (Ctrl+L) instead, then goes to the
# fourth difference of pane 1 with F8, so both panes stand linked with the other side marked.
# PROGRAM (environment) is the program to start, build/release/corvella by default (./run.sh
# --build-only builds it); OUTPUT defaults to docs/screenshot.png. The program runs with its own
# empty home, settings and temp folders; message boxes of its start-up (a missing PDF printer) are
# answered with Return. Needs xvfb-run (xvfb, xauth), xdotool, xwd (x11-apps) and convert
# (imagemagick); the tests do not, so tools/install-deps.sh leaves them out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
layout=
if [ "${1:-}" = "--ignoring-layout" ]; then
    layout=--ignoring-layout
    shift
fi
if [ $# -lt 2 ]; then
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
pdf1=$(realpath "$1")
pdf2=$(realpath "$2")
out=$(realpath -m "${3:-$root/docs/screenshot.png}")
program=$(realpath -m "${PROGRAM:-$root/build/release/corvella}")

for tool in xvfb-run xdotool xwd convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing (install xvfb, xauth, xdotool, x11-apps and imagemagick)" >&2
        exit 1
    fi
done
if [ ! -x "$program" ]; then
    echo "No program at $program (build it with ./run.sh --build-only)" >&2
    exit 1
fi

# Run the rest on a fresh virtual display.
if [ -z "${CORVELLA_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" env CORVELLA_ON_XVFB=1 \
        PROGRAM="$program" "$0" $layout "$pdf1" "$pdf2" "$out"
fi

work=$(mktemp -d /tmp/corvella-screenshot-XXXXXX)
pid=
finish() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap finish EXIT
mkdir -p "$work/home" "$work/config" "$work/temp"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" TEMP="$work/temp" "$program" "$pdf1" "$pdf2" &
pid=$!

# The main window is the one of the designed client size; any other window of the program is a
# message box.
main_window() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        if xdotool getwindowgeometry "$id" | grep -q 'Geometry: 616x632'; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
answer_boxes() {
    local id
    for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        if ! xdotool getwindowgeometry "$id" | grep -q 'Geometry: 616x632'; then
            xdotool windowfocus --sync "$id" key Return 2>/dev/null || true
        fi
    done
}

window=
for _ in $(seq 1 300); do
    answer_boxes
    if window=$(main_window); then break; fi
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "The main window did not appear" >&2
    exit 1
fi

# The files load once the window is up; the pointer is the hourglass meanwhile. Give them time.
sleep "${LOAD_SECONDS:-8}"
answer_boxes
if [ -n "$layout" ]; then
    xdotool windowfocus --sync "$window" key ctrl+l
    sleep "${COMPARE_SECONDS:-8}"
    # Into pane 1 (the click puts its caret at its top), then to its fourth difference; the link
    # is ready a moment after the comparison.
    xdotool mousemove --window "$window" 60 60 click 1
    xdotool key F8 F8 F8 F8
    sleep 1
else
    # "Find Differences (Lines)": 8,442 to 305,469 in the window.
    xdotool mousemove --window "$window" 150 455 click 1
    sleep "${COMPARE_SECONDS:-8}"
fi
# Move the pointer off the buttons, so none shows as hovered.
xdotool mousemove --window "$window" 600 620
sleep 1
mkdir -p "$(dirname "$out")"
xwd -id "$window" -silent | convert xwd:- "png:$out"
echo "$out"
