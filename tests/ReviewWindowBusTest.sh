#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# `corvella --review PDF1 PDF2` on a virtual display with the accessibility bridge on: a client of
# the bus finds the review window as a window of its own, its list of changes with rows, and
# their count. The two editions of the installation guide from the corpus; skipped without them.
#
#   ReviewWindowBusTest.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
corpus=${CORVELLA_CORPUS_DIR:-$root/build/corpus}
pdf1=$corpus/pairs/install-guide-amd64.pdf
pdf2=$corpus/pairs/install-guide-arm64.pdf
if [ ! -f "$pdf1" ] || [ ! -f "$pdf2" ]; then
    echo "the corpus's installation guides are missing: skipped"
    exit 77
fi
# Under the sanitizers: xkbcommon reads the display's keymap with strndup on buffers of a known
# length that hold no final NUL, which strict string checks take for an overflow.
[ -z "${ASAN_OPTIONS:-}" ] || export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
"$root/tools/accessible-session.sh" bash -c '
    "$1" --review "$2" "$3" > "$SESSION_DIR/program.log" 2>&1 &
    program=$!
    status=0
    /usr/bin/python3 "$4" corvella 300 || status=$?
    kill $program 2>/dev/null
    [ $status -eq 0 ] || cat "$SESSION_DIR/program.log"
    exit $status
' check "$build/corvella" "$pdf1" "$pdf2" "$root/tests/ReviewWindowOnTheBus.py"
