#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every fuzz target of a CORVELLA_FUZZ build for a bounded time, from its committed seeds.
#   tools/run-fuzz.sh BUILD_DIR [SECONDS_PER_TARGET]
# A crash, a sanitizer report or a failed check stops that target; the input that caused it is
# kept in BUILD_DIR/fuzz-findings/. Exit status 1 when any target found something.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$1
seconds=${2:-25}
seeds=tests/fuzz/corpus
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$build/fuzz-findings"
status=0
passed=0
failed=0
for seed in "$seeds"/*/; do
    name=$(basename "$seed")
    work="$build/fuzz-corpus/$name"
    mkdir -p "$work"
    echo "=== $name (${seconds} s)"
    if ! "$build/tests/fuzz/$name" "$work" "$seed" -max_total_time="$seconds" -max_len=2048 \
        -timeout=20 -rss_limit_mb=2048 -print_final_stats=0 \
        -artifact_prefix="$build/fuzz-findings/$name-" 2>"$build/fuzz-findings/$name.log"; then
        tail -40 "$build/fuzz-findings/$name.log"
        status=1
        failed=$((failed + 1))
    else
        grep -E "^Done [0-9]+ runs" "$build/fuzz-findings/$name.log" | tail -1
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
exit $status
