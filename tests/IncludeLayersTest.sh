#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# The include checker refuses every include that points up or sideways, naming file and line, and
# accepts those that point down.
set -uo pipefail
checker=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT

# from-folder  included-header  expected (ok|refused)
cases="
core    output/A.h       refused
diff    core/Services.h  refused
diff    report/A.h       refused
report  compare/A.h      refused
output  office/A.h       refused
display extract/A.h      refused
extract compare/A.h      refused
compare window/A.h       refused
window/main cli/A.h      refused
window/pane window/review/A.h refused
window/review window/main/A.h refused
window/review window/reviewer/A.h refused
window/reviewer window/main/A.h refused
window/reviewer cli/A.h refused
cli     window/A.h       refused
cli     output/A.h       refused
batch   window/A.h       refused
batch   cli/A.h          refused
batch   extract/A.h      refused
core    core/A.h         ok
diff    core/TextRange.h ok
diff    diff/layout/A.h  ok
report  diff/A.h         ok
office  output/A.h       ok
extract display/A.h      ok
compare diff/A.h         ok
window/main compare/A.h  ok
window/review window/pane/A.h ok
window/reviewer window/review/A.h ok
window/reviewer annotate/A.h ok
window/main window/reviewer/A.h ok
cli     report/A.h       ok
cli     batch/A.h        ok
batch   report/A.h       ok
"
failures=0
while read -r from included expected; do
    [ -n "$from" ] || continue
    rm -rf "${tree:?}"/*
    mkdir -p "$tree/$from"
    printf '#pragma once\n\n#include <vector>\n#include "%s"\n' "$included" >"$tree/$from/B.h"
    output=$("$checker" "$tree" 2>&1)
    result=$?
    if [ "$expected" = refused ]; then
        if [ $result -eq 0 ] || ! grep -q "^$from/B.h:4: " <<<"$output"; then
            echo "FAIL: $from -> $included was not refused at $from/B.h:4: $output"
            failures=$((failures + 1))
        fi
    elif [ $result -ne 0 ]; then
        echo "FAIL: $from -> $included was refused: $output"
        failures=$((failures + 1))
    fi
done <<<"$cases"
echo "$failures failed"
[ $failures -eq 0 ]
