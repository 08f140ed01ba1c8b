#!/usr/bin/env bash
# Builds Corvella in Release and starts it.
set -euo pipefail
cd "$(dirname "$0")"

tools/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/release -j2 --target corvella

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
