#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the annotated copies of two PDFs with corvella-diff --ignore-layout --annotate and saves
# one page of the first file's copy as poppler renders it, highlights and all.
#
#   tools/annotated-screenshot.sh PDF1 PDF2 PAGE [OUTPUT.png]
#
# DIFF (environment) is the comparer, build/release/corvella-diff by default; OUTPUT defaults to
# docs/annotated-page.png. Needs pdftoppm (poppler-utils).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 3 ]; then
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
out=$(realpath -m "${4:-$root/docs/annotated-page.png}")
diff=$(realpath -m "${DIFF:-$root/build/release/corvella-diff}")
for tool in "$diff" pdftoppm; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/corvella-annotated-XXXXXX)
trap 'rm -rf "$work"' EXIT
# The notes name the files as given: their names, not this machine's folders.
cp "$1" "$work/$(basename "$1")"
cp "$2" "$work/$(basename "$2")"
status=0
(cd "$work" && "$diff" --ignore-layout --quiet --annotate copies "$(basename "$1")" \
    "$(basename "$2")") || status=$?
if [ "$status" -gt 1 ]; then
    echo "corvella-diff failed with status $status" >&2
    exit 1
fi
pdftoppm -r 80 -f "$3" -l "$3" -singlefile -png "$work/copies/$(basename "$1")" "${out%.png}"
echo "Saved $out"
