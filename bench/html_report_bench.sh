#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# The web-page report of a pair of PDFs for each method: how large it is and how long headless
# Chromium takes to open it and show its first screen. Figures from one run; run by hand.
#
#   bench/html_report_bench.sh [PDF1 PDF2]
#
# The pair defaults to the corpus's 1,151-page book (build/corpus/pairs/cpp-annotations-a4.pdf
# and -letter.pdf); DIFF (environment) is the comparer, build/release/corvella-diff by default.
# Prints per method: method=M html_bytes=B diff_ms=T open_ms=T blank_open_ms=T, where
# blank_open_ms is the same browser showing an empty page (its start-up alone); each open is
# the best of three.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
one=${1:-$root/build/corpus/pairs/cpp-annotations-a4.pdf}
two=${2:-$root/build/corpus/pairs/cpp-annotations-letter.pdf}
diff=$(realpath -m "${DIFF:-$root/build/release/corvella-diff}")
for tool in "$diff" chromium; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/corvella-report-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Milliseconds until Chromium has loaded the page and painted its first screen: the best of
# three tries, as other work on a shared machine only ever adds to it.
open_ms() {
    local start took best=
    for _ in 1 2 3; do
        start=$(now_ms)
        chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
            --disable-background-networking --disable-component-update --disable-sync \
            --user-data-dir="$work/profile-$RANDOM" --hide-scrollbars --window-size=1280,1400 \
            --screenshot="$work/shot.png" "file://$1" >/dev/null 2>&1
        took=$(($(now_ms) - start))
        [ -z "$best" ] || [ "$took" -lt "$best" ] && best=$took
    done
    echo "$best"
}

echo '<!DOCTYPE html><title>blank</title>' >"$work/blank.html"
echo "cores=$(nproc) pair=$(basename "$one"),$(basename "$two")"
for method in lines words ignore-layout; do
    options=(--format html)
    [ "$method" = words ] && options+=(--words)
    [ "$method" = ignore-layout ] && options+=(--ignore-layout)
    start=$(now_ms)
    status=0
    "$diff" "${options[@]}" "$one" "$two" >"$work/report.html" || status=$?
    diff_ms=$(($(now_ms) - start))
    if [ "$status" -gt 1 ]; then
        echo "corvella-diff failed with status $status" >&2
        exit 1
    fi
    echo "method=$method html_bytes=$(stat -c %s "$work/report.html") diff_ms=$diff_ms" \
        "open_ms=$(open_ms "$work/report.html") blank_open_ms=$(open_ms "$work/blank.html")"
done
