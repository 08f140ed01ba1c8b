#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the web-page report of two PDFs with corvella-diff --format html and saves a screenshot of
# its top (summary and first pages) as headless Chromium renders it.
#
#   tools/report-screenshot.sh PDF1 PDF2 [OUTPUT.png]
#
# DIFF (environment) is the comparer, build/release/corvella-diff by default; OUTPUT defaults to
# docs/report.png. Needs chromium (tools/install-deps.sh installs it for the browser test).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 2 ]; then
    sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
out=$(realpath -m "${3:-$root/docs/report.png}")
diff=$(realpath -m "${DIFF:-$root/build/release/corvella-diff}")
for tool in "$diff" chromium; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/corvella-report-XXXXXX)
trap 'rm -rf "$work"' EXIT
# The report names the files as given: their names, not this machine's folders.
cp "$1" "$work/$(basename "$1")"
cp "$2" "$work/$(basename "$2")"
status=0
(cd "$work" && "$diff" --format html "$(basename "$1")" "$(basename "$2")" >report.html) ||
    status=$?
if [ "$status" -gt 1 ]; then
    echo "corvella-diff failed with status $status" >&2
    exit 1
fi
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --user-data-dir="$work/profile" --hide-scrollbars --window-size=1280,1400 \
    --screenshot="$out" "file://$work/report.html" 2>/dev/null
echo "Saved $out"
