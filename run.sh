#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Corvella in Release (the program and its office helper) and starts it; arguments are
# passed on to the program.
#
#   ./run.sh [PDF1 [PDF2]]
#   ./run.sh --build-only    only builds (build/release), starts nothing
set -euo pipefail
cd "$(dirname "$0")"

build_only=0
if [ "${1:-}" = "--build-only" ]; then
    build_only=1
    shift
fi

tools/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j2 --target program

if [ $build_only -eq 1 ]; then
    exit 0
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    cat >&2 <<MSG
Corvella is built (build/release/corvella), but it is a desktop program and needs a
graphical session: no DISPLAY or WAYLAND_DISPLAY is set here.
Run it from a desktop session, or on a virtual X display:
    xvfb-run -a -s "-screen 0 1280x1024x24" build/release/corvella
MSG
    exit 2
fi

exec build/release/corvella "$@"
