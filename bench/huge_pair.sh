#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Peak memory on 9,660-page pairs: four copies of the corpus's 2,415-page reference manual,
# against the same four with a page removed from one copy and a page repeated in another: far
# into the text (b.pdf: page 1000 of the second copy removed, page 2000 of the fourth repeated)
# and near its start (start.pdf: page 5 of the first copy removed, page 1000 of the second
# repeated, so that nearly every line after page 5 differs for the line and word comparisons).
# Prints the peak resident memory of corvella-diff by lines, --words (also with --format json)
# and --ignore-layout on each pair, then that of the window after "Find Differences (Words)" on
# the first (load_compare_bench --peak).
#
#   bench/huge_pair.sh CORPUS_DIR [BUILD_DIR]
#
# Needs qpdf and GNU time (/usr/bin/time). The pair is made in a temporary folder and removed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ]; then
    sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
source=$(realpath "$1")/large/r-refman-2415-pages.pdf
build=$(realpath "${2:-$root/build/release}")
work=$(mktemp -d /tmp/corvella-huge-pair-XXXXXX)
trap 'rm -rf "$work"' EXIT

qpdf --empty --pages "$source" 1-z "$source" 1-z "$source" 1-z "$source" 1-z -- "$work/a.pdf"
qpdf --empty --pages "$source" 1-z "$source" 1-1000,1002-z "$source" 1-z \
    "$source" 1-2000,2000,2001-z -- "$work/b.pdf"
qpdf --empty --pages "$source" 1-4,6-z "$source" 1-1000,1000,1001-z "$source" 1-z \
    "$source" 1-z -- "$work/start.pdf"
echo "pages: $(pdfinfo "$work/a.pdf" | awk '/^Pages:/ {print $2}') and" \
    "$(pdfinfo "$work/b.pdf" | awk '/^Pages:/ {print $2}')"

for pair in b start; do
    for method in lines --words "--words --format json" --ignore-layout; do
        # shellcheck disable=SC2206 # the method's words are its options
        option=($method)
        [ "$method" = lines ] && option=()
        quiet=(--quiet)
        # A report is written (and thrown away) when its format is the point.
        [[ $method == *json* ]] && quiet=()
        status=0
        /usr/bin/time -f "$pair: corvella-diff ${method// /_} peak_rss_mb=%M wall_s=%e" \
            -o "$work/time" "$build/corvella-diff" "${quiet[@]}" "${option[@]}" "$work/a.pdf" \
            "$work/$pair.pdf" >/dev/null || status=$?
        # GNU time gives kilobytes, after a line of its own for a status other than 0.
        awk '/corvella-diff/ { $4 = "peak_rss_mb=" int(substr($4, 13) / 1024); print }' \
            "$work/time"
        [ $status -le 1 ] || echo "$pair: corvella-diff $method: exit status $status"
    done
done
"$build/bench/load_compare_bench" --peak "$work/a.pdf" "$work/b.pdf"
