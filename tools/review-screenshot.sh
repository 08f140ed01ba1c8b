#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts `corvella --review PDF1 PDF2` on a virtual display of 1600x1000, waits until its review
# window lists the changes (read through the accessibility bus), fills the screen with it and
# saves a screenshot.
#
#   tools/review-screenshot.sh PDF1 PDF2 [OUTPUT.png]
#
# PROGRAM (environment) is the program to start, build/release/corvella by default; OUTPUT
# defaults to docs/review-window.png. Needs what tools/accessible-session.sh needs, Debian's
# python3-pyatspi, xdotool, xwd (x11-apps) and convert (imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ]; then
    sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
pdf1=$(realpath "$1")
pdf2=$(realpath "$2")
out=$(realpath -m "${3:-$root/docs/review-window.png}")
program=$(realpath -m "${PROGRAM:-$root/build/release/corvella}")
for tool in xdotool xwd convert; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

"$root/tools/accessible-session.sh" bash -c '
    "$1" --review "$2" "$3" > "$SESSION_DIR/program.log" 2>&1 &
    program=$!
    trap "kill $program 2>/dev/null" EXIT
    /usr/bin/python3 "$4" corvella 300 || exit 1
    window=$(xdotool search --sync --onlyvisible --name "^Review of the changes$" | head -1)
    xdotool windowmove --sync "$window" 0 0 windowsize --sync "$window" 1600 1000
    sleep 2  # the texts and the list laid out again at the new size
    xwd -root -silent | convert xwd:- -crop 1600x1000+0+0 "$5"
' shot "$program" "$pdf1" "$pdf2" "$root/tests/ReviewWindowOnTheBus.py" "$out"
echo "$out"
