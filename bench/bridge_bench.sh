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
# BENCH (environment) is the bench program, build/release/bench/load_compare_bench by default.
# Needs Xvfb (xvfb), dbus-run-session (dbus-daemon) and the accessibility bus (at-spi2-core).
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
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done

work=$(mktemp -d /tmp/corvella-bridge-bench-XXXXXX)
exec 3>"$work/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
display=$(head -1 "$work/display")
for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=:$display
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME=$work XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work

dbus-run-session -- "$bench" "$@" --bridge
