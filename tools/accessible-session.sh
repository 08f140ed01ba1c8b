#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs COMMAND on a virtual display of its own, in a private session bus that starts the
# accessibility bus, with Qt's accessibility bridge on: as a program runs under a screen reader.
# HOME and the settings live in a scratch folder, passed to COMMAND as $SESSION_DIR.
#
#   tools/accessible-session.sh COMMAND [ARGUMENT...]
#
# Needs Xvfb (xvfb), dbus-run-session (dbus-daemon) and the accessibility bus (at-spi2-core).
set -euo pipefail
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 1; }
done
SESSION_DIR=$(mktemp -d /tmp/corvella-session-XXXXXX)
export SESSION_DIR
exec 3>"$SESSION_DIR/display"
Xvfb -displayfd 3 -noreset -nolisten tcp -screen 0 1600x1000x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$SESSION_DIR"' EXIT
for _ in $(seq 100); do [ -s "$SESSION_DIR/display" ] && break; sleep 0.1; done
display=$(head -1 "$SESSION_DIR/display")
# The display's socket may lag its number.
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=:$display
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export HOME=$SESSION_DIR XDG_CONFIG_HOME=$SESSION_DIR/config XDG_RUNTIME_DIR=$SESSION_DIR
export TEMP=$SESSION_DIR
dbus-run-session -- "$@"
