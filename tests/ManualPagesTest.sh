#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# The manual pages the build writes render without a warning from man and groff; those help2man
# writes hold every section a user looks for, every option the program's --help names, and what
# only the page says.
#
#   ManualPagesTest.sh BUILD_DIR
set -uo pipefail
build=$1

# program | what its page must say besides the sections and the options
cases="
corvella|Kestrovan.ini
corvella|corvella-<uid>
corvella|CORVELLA_OFFICE_HELPER
corvella|GNU GPL version 3 or later
corvella|lib/corvella/corvella-office-compare
corvella-diff|GNU GPL version 3 or later
corvella-diff|corvella-<uid>
corvella-diff|corvella-diff --merge reports
corvella-diff|FOLDER/pairs/PATH.json
corvella-diff|2      Trouble
"
sections="NAME SYNOPSIS DESCRIPTION OPTIONS EXIT.STATUS ENVIRONMENT FILES EXAMPLES SEE.ALSO COPYRIGHT"

warnings_of() {
    LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$1" 2>&1 >/dev/null
}
# Plain text, wide enough that no option is broken across lines.
text_of() { LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$1" | col -b; }

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
# Every page.
for page in "$build"/packaging/man/*.1.gz; do
    if ! warnings=$(warnings_of "$page") || [ -n "$warnings" ]; then
        fail "${page##*/} does not render cleanly: $warnings"
    fi
done
[ -f "$build/packaging/man/corvella.1.gz" ] || fail "no manual pages in $build/packaging/man"

for program in corvella corvella-diff; do
    page="$build/packaging/man/$program.1"
    text=$(text_of "$page")
    for section in $sections; do
        grep -qx "${section}" <<<"$text" || fail "$program.1 has no section ${section/./ }"
    done
    for option in $("$build/$program" --help | grep -oE -- '(^|[[:space:][,])--?[a-z][a-z-]*'); do
        option=${option#[[:space:][,]}
        grep -qE -- "(^|[^a-z-])$option([^a-z-]|$)" <<<"$text" || fail "$program.1 lacks $option"
    done
    while IFS='|' read -r name expected; do
        [ "$name" = "$program" ] || continue
        grep -qF -- "$expected" <<<"$text" || fail "$program.1 does not say '$expected'"
    done <<<"$cases"
done
[ $failures -eq 0 ] && echo "Both manual pages render cleanly and say it all."
exit $((failures > 0))
