#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs load_compare_bench with the window's accessibility bridge on, as under a screen reader: on
# a virtual display and a private session bus (which starts the accessibility bus), with a reader
# process asking a button of the window for its name every 20 ms. Each phase then also prints
# "longest_answer_ms", the longest the reader waited for an answer. With --listening the reader
# also listens to the events a screen reader listens to (text changes, caret moves, states,
# focus), which the window then sends.
#
#   bench/bridge_bench.sh CORPUS_DIR [--only N] [--listening]
#
# BENCH (environment) is the bench program, build/release/bench/load_compare_bench by default
# (build/release/bench/review_window_bench times the review window so). Needs what
# tools/accessible-session.sh needs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -lt 1 ]; then
    sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
bench=$(realpath -m "${BENCH:-$root/build/release/bench/load_compare_bench}")
arguments=()
for argument in "$@"; do
    if [ "$argument" = --listening ]; then
        export CORVELLA_READER_LISTENS=1
    else
        arguments+=("$argument")
    fi
done
set -- "${arguments[@]}"
"$root/tools/accessible-session.sh" "$bench" "$@" --bridge
