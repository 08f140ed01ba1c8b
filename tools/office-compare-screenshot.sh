#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Shows the word-processor comparison of two small texts in LibreOffice on a virtual display and
# saves a screenshot of the whole screen. Prints the path of the PNG.
#
#   tools/office-compare-screenshot.sh [HELPER] [OUTPUT.png]
#
# HELPER defaults to build/release/corvella-office-compare, OUTPUT to build/office-compare.png.
# Needs xvfb-run (xvfb, xauth), xwd (x11-apps) and convert (imagemagick).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
helper=$(realpath -m "${1:-$root/build/release/corvella-office-compare}")
out=$(realpath -m "${2:-$root/build/office-compare.png}")

for tool in xvfb-run xwd convert; do
    if ! command -v "$tool" >/dev/null; then
        echo "$tool is missing (install xvfb, xauth, x11-apps and imagemagick)" >&2
        exit 1
    fi
done
if [ ! -x "$helper" ]; then
    echo "No comparison helper at $helper (build with libreoffice-dev installed)" >&2
    exit 1
fi

# Run the rest on a fresh virtual display.
if [ -z "${CORVELLA_ON_XVFB:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" env CORVELLA_ON_XVFB=1 "$0" "$helper" "$out"
fi

work=$(mktemp -d /tmp/corvella-screenshot-XXXXXX)
# The office of this run is the one whose command line names our folder: stop it by its ids.
stop_office() {
    local proc pids=()
    for proc in /proc/[0-9]*; do
        if tr '\0' '\n' <"$proc/cmdline" 2>/dev/null | grep -qF "$work"; then
            pids+=("${proc#/proc/}")
        fi
    done
    if [ ${#pids[@]} -gt 0 ]; then kill "${pids[@]}" 2>/dev/null || true; fi
    sleep 1
    rm -rf "$work"
}
trap stop_office EXIT

printf 'Corvella compares the text of two PDF files.\r\nThe quick brown fox jumps over the lazy dog.\r\nThis line stays the same.\r\nThis line goes away.\r\nThe end.\r\n' >"$work/1.txt"
printf 'Corvella compares the text of two PDF files.\r\nThe quick red fox jumps over the lazy dog.\r\nThis line stays the same.\r\nThe end.\r\nA line was added.\r\n' >"$work/2.txt"

# A private profile, so that the user's own office and settings are not touched.
"$helper" --profile "$work/profile" "$work/1.txt" "$work/2.txt"
# The window is shown; give it time to draw.
sleep 4
mkdir -p "$(dirname "$out")"
xwd -root -silent | convert xwd:- "png:$out"
echo "$out"
