#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# corvella-diff --batch over many pairs made from the corpus (copies, and page ranges cut with
# qpdf --pages): pairs per minute against an xargs recipe running one corvella-diff per pair,
# the batch process's memory over the run, and the time a finished run takes to resume. Figures
# from one run; run by hand.
#
#   bench/batch_bench.sh [PAIRS] [JOBS]
#
# PAIRS (default 200) pairs, JOBS (default 2) at once for every contender; DIFF (environment) is
# the comparer, build/release/corvella-diff by default; CORPUS the corpus folder, build/corpus;
# WORK a folder to keep the pairs in for the next run (by default a temporary one).
# Prints one line per figure:
#   batch: the batch, each pair's JSON report and web page and the index;
#   xargs-text: xargs -P JOBS with one corvella-diff per pair writing its text report;
#   xargs-json-html: the same writing what the batch writes, a JSON report and a web page
#     (two runs per pair);
#   memory: the batch process's resident memory (VmRSS, sampled every 0.1 s) at its highest
#     while the first 100 pairs ran and while the last 100 ran;
#   resume: a second run of the finished batch, which takes over every pair;
#   large: the corpus's 1,151-page pair alone: in a batch, as one corvella-diff writing text, and
#     as one writing JSON then one writing the web page.
# cpu_ms_per_pair is the CPU time (user and system) of the contender and every process it
# started, per pair: on a machine shared with other work it varies less than the time taken.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
pairs=${1:-200}
jobs=${2:-2}
corpus=$(realpath "${CORPUS:-$root/build/corpus}")
diff=$(realpath -m "${DIFF:-$root/build/release/corvella-diff}")
for tool in "$diff" qpdf xargs; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

if [ -n "${WORK:-}" ]; then
    work=$(realpath -m "$WORK")
    mkdir -p "$work"
else
    work=$(mktemp -d /tmp/corvella-batch-bench-XXXXXX)
    trap 'rm -rf "$work"' EXIT
fi
rm -rf "$work/out" "$work/reports" "$work/large"
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Pair i: a page range of one of the corpus's documents against the same range of its other
# edition (the guides, the book on A4 and on letter paper), or against a copy of itself (the
# reference manual, the cards); every 50th pair whole guides.
make_pairs() {
    local i one two first last
    mkdir -p "$work/old" "$work/new"
    for ((i = 0; i < pairs; i++)); do
        case $((i % 4)) in
            0) one=pairs/install-guide-amd64.pdf two=pairs/install-guide-arm64.pdf ;;
            1) one=pairs/cpp-annotations-a4.pdf two=pairs/cpp-annotations-letter.pdf ;;
            2) one=large/r-refman-2415-pages.pdf two=$one ;;
            3) one=scripts/refcard-greek.pdf two=scripts/refcard-japanese.pdf ;;
        esac
        first=$((1 + (i * 7) % 90)) last=$((first + 4 + i % 20))
        if ((i % 50 == 49)); then
            cp "$corpus/pairs/install-guide-amd64.pdf" "$work/old/pair-$i.pdf"
            cp "$corpus/pairs/install-guide-arm64.pdf" "$work/new/pair-$i.pdf"
        elif ((i % 4 == 3)); then
            cp "$corpus/$one" "$work/old/pair-$i.pdf"
            cp "$corpus/$two" "$work/new/pair-$i.pdf"
        else
            qpdf --empty --pages "$corpus/$one" "$first-$last" -- "$work/old/pair-$i.pdf"
            qpdf --empty --pages "$corpus/$two" "$first-$last" -- "$work/new/pair-$i.pdf"
        fi
    done
}

# Runs the command in the background and samples its resident memory with the number of pairs
# done (results of pairs written) until it ends; prints its milliseconds. Its CPU time and that
# of its children go to $work/cpu.
sample_run() {
    local start timer pid
    start=$(now_ms)
    /usr/bin/time -o "$work/cpu" -f "%U %S" "$@" &
    timer=$!
    until pid=$(pgrep -P "$timer"); do sleep 0.01; done
    : >"$work/samples"
    while kill -0 "$pid" 2>/dev/null; do
        rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
        done_pairs=$(find "$work/out/pairs" -name '*.json' 2>/dev/null | wc -l)
        [ -n "$rss" ] && echo "$done_pairs $rss" >>"$work/samples"
        sleep 0.1
    done
    wait "$timer" || [ $? -le 2 ]
    echo $(($(now_ms) - start))
}

# The CPU per pair of the last timed run, in milliseconds.
cpu_per_pair() { awk -v n="$pairs" '{ printf "%.0f", ($1 + $2) * 1000 / n }' "$work/cpu"; }

per_minute() { awk -v n="$1" -v ms="$2" 'BEGIN { printf "%.1f", n * 60000 / ms }'; }

[ -d "$work/old" ] || make_pairs
pages=$(for f in "$work"/old/*.pdf "$work"/new/*.pdf; do qpdf --show-npages "$f"; done |
    awk '{ s += $1 } END { print s }')
echo "cores=$(nproc) jobs=$jobs pairs=$pairs pages=$pages"

batch_ms=$(sample_run "$diff" --batch "$work/old" "$work/new" --out "$work/out" -j "$jobs" \
    --timeout 300 --quiet)
echo "batch: ms=$batch_ms pairs_per_minute=$(per_minute "$pairs" "$batch_ms")" \
    "cpu_ms_per_pair=$(cpu_per_pair)"
awk -v last=$((pairs - 100)) '
    $1 < 100 && $2 > first { first = $2 }
    $1 >= last && $2 > end { end = $2 }
    END { printf "memory: first_100_kb=%d last_100_kb=%d\n", first, end }' "$work/samples"

start=$(now_ms)
"$diff" --batch "$work/old" "$work/new" --out "$work/out" -j "$jobs" --timeout 300 --quiet
echo "resume: ms=$(($(now_ms) - start))"

# The recipe the README gave before the batch, as it stood but for the number of jobs.
mkdir -p "$work/reports"
start=$(now_ms)
(cd "$work/new" && find . -maxdepth 1 -name '*.pdf' -printf '%f\0' | DIFF=$diff /usr/bin/time -o "$work/cpu" -f "%U %S" xargs -0 -P "$jobs" -I{} sh -c \
    '"$DIFF" --timeout 300 "../old/$1" "$1" > "../reports/$1.diff"; [ $? -le 1 ] || echo "trouble: $1"' _ {})
xargs_ms=$(($(now_ms) - start))
echo "xargs-text: ms=$xargs_ms pairs_per_minute=$(per_minute "$pairs" "$xargs_ms")" \
    "cpu_ms_per_pair=$(cpu_per_pair)" \
    "batch_ratio=$(awk -v a="$xargs_ms" -v b="$batch_ms" 'BEGIN { printf "%.2f", a / b }')"

start=$(now_ms)
(cd "$work/new" && find . -maxdepth 1 -name '*.pdf' -printf '%f\0' | DIFF=$diff /usr/bin/time -o "$work/cpu" -f "%U %S" xargs -0 -P "$jobs" -I{} sh -c \
    '"$DIFF" --format json "../old/$1" "$1" > "../reports/$1.json"; "$DIFF" --format html "../old/$1" "$1" > "../reports/$1.html"; true' _ {})
both_ms=$(($(now_ms) - start))
echo "xargs-json-html: ms=$both_ms pairs_per_minute=$(per_minute "$pairs" "$both_ms")" \
    "cpu_ms_per_pair=$(cpu_per_pair)" \
    "batch_ratio=$(awk -v a="$both_ms" -v b="$batch_ms" 'BEGIN { printf "%.2f", a / b }')"

# The 1,151-page pair: a batch of it alone against one run per report.
mkdir -p "$work/large/old" "$work/large/new"
cp "$corpus/pairs/cpp-annotations-a4.pdf" "$work/large/old/book.pdf"
cp "$corpus/pairs/cpp-annotations-letter.pdf" "$work/large/new/book.pdf"
start=$(now_ms)
"$diff" --batch "$work/large/old" "$work/large/new" --out "$work/large/out" --quiet
large_batch=$(($(now_ms) - start))
start=$(now_ms)
"$diff" "$work/large/old/book.pdf" "$work/large/new/book.pdf" >/dev/null || true
large_text=$(($(now_ms) - start))
start=$(now_ms)
"$diff" --format json "$work/large/old/book.pdf" "$work/large/new/book.pdf" >/dev/null || true
"$diff" --format html "$work/large/old/book.pdf" "$work/large/new/book.pdf" >/dev/null || true
echo "large: batch_ms=$large_batch text_ms=$large_text json_then_html_ms=$(($(now_ms) - start))"
