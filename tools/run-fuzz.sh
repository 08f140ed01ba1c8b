#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a CORVELLA_FUZZ build for a bounded time, from its committed seeds, as
# many at once as there are cores (GNU parallel; each target is one process).
#   tools/run-fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
# A crash, a sanitizer report or a failed check stops that target; the input that caused it is
# kept in BUILD_DIR/fuzz-findings/. Exit status 1 when any target found something.
set -uo pipefail
cd "$(dirname "$0")/.."
export build=$1
export seconds=${2:-25}
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/fuzz-findings"

# One target from its seed folder; its report goes out in one piece when it ends.
fuzz_one() {
    local seed=$1 name
    name=$(basename "$seed")
    local work="$build/fuzz-corpus/$name" log="$build/fuzz-findings/$name.log"
    mkdir -p "$work"
    echo "=== $name (${seconds} s)"
    if ! "$build/tests/fuzz/$name" "$work" "$seed" -max_total_time="$seconds" -max_len=2048 \
        -timeout=20 -rss_limit_mb=2048 -print_final_stats=0 \
        -artifact_prefix="$build/fuzz-findings/$name-" 2>"$log"; then
        tail -40 "$log"
        return 1
    fi
    grep -E "^Done [0-9]+ runs" "$log" | tail -1
}
export -f fuzz_one

targets=(tests/fuzz/corpus/*/)
# parallel's status is the number of targets that failed (up to 100).
parallel --will-cite --jobs "$(nproc)" fuzz_one ::: "${targets[@]}"
failed=$?
echo "fuzz: $((${#targets[@]} - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]
