#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# The annotated copies of a pair of PDFs against the comparison alone: corvella-diff
# --ignore-layout --quiet with and without --annotate, the best of three runs each (other work on
# a shared machine only ever adds to a run), their ratio, the same for the CPU time of the best
# runs (user and system, extractors included: on a machine whose cores other work keeps busy the
# times' ratio tends to it), and the peak memory of the annotating run. Figures from one run of
# the script; run by hand.
#
#   bench/annotate_bench.sh [PDF1 PDF2]
#
# The pair defaults to the corpus's 1,151-page book (build/corpus/pairs/cpp-annotations-a4.pdf
# and -letter.pdf); DIFF (environment) is the comparer, build/release/corvella-diff by default.
# Prints: compare_ms=T annotate_ms=T ratio=R compare_cpu_ms=C annotate_cpu_ms=C cpu_ratio=R
# annotate_max_rss_mb=M copies_mb=S
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
one=${1:-$root/build/corpus/pairs/cpp-annotations-a4.pdf}
two=${2:-$root/build/corpus/pairs/cpp-annotations-letter.pdf}
diff=$(realpath -m "${DIFF:-$root/build/release/corvella-diff}")
command -v "$diff" >/dev/null || { echo "$diff is missing" >&2; exit 1; }

work=$(mktemp -d /tmp/corvella-annotate-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

# The best wall time of three runs of the command, in milliseconds; that run's CPU time in
# milliseconds goes to $work/cpu, the last run's peak memory in kilobytes to $work/rss.
best_ms() {
    local best= took status
    for _ in 1 2 3; do
        rm -rf "$work/copies"
        status=0
        /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$diff" --ignore-layout --quiet "$@" "$one" "$two" ||
            status=$?
        if [ "$status" -gt 1 ]; then
            echo "corvella-diff failed with status $status" >&2
            exit 1
        fi
        read -r seconds rss user system < <(tail -n 1 "$work/time")
        took=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')
        echo "$rss" >"$work/rss"
        if [ -z "$best" ] || [ "$took" -lt "$best" ]; then
            best=$took
            awk -v u="$user" -v s="$system" 'BEGIN { printf "%d", (u + s) * 1000 }' >"$work/cpu"
        fi
    done
    echo "$best"
}

echo "cores=$(nproc) pair=$(basename "$one"),$(basename "$two")"
ratio() { awk -v a="$1" -v c="$2" 'BEGIN { printf "%.2f", a / c }'; }
compare_ms=$(best_ms)
compare_cpu_ms=$(cat "$work/cpu")
annotate_ms=$(best_ms --annotate "$work/copies")
annotate_cpu_ms=$(cat "$work/cpu")
echo "compare_ms=$compare_ms annotate_ms=$annotate_ms ratio=$(ratio "$annotate_ms" "$compare_ms")" \
    "compare_cpu_ms=$compare_cpu_ms annotate_cpu_ms=$annotate_cpu_ms" \
    "cpu_ratio=$(ratio "$annotate_cpu_ms" "$compare_cpu_ms")" \
    "annotate_max_rss_mb=$(($(cat "$work/rss") / 1024))" \
    "copies_mb=$(du -sm "$work/copies" | cut -f1)"
