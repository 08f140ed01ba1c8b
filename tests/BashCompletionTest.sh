#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# The installed bash completion, loaded by bash-completion itself from where the build installs
# it, offers corvella-diff's options as its --help lists them, the values of --format, folders for
# --annotate, and PDF files (and .txt files for corvella-diff) and folders.
#
#   BashCompletionTest.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
export PATH="$prefix/bin:$PATH" XDG_DATA_DIRS="$prefix/share"

# shellcheck disable=SC1091
source /usr/share/bash-completion/bash_completion || exit 1

# The words bash would offer at the end of LINE, sorted, on one line.
complete_line() {
    local COMP_LINE=$1 COMP_POINT=${#1} COMP_WORDS COMP_CWORD
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    local command=${COMP_WORDS[0]}
    __load_completion "$command" || { echo "no completion for $command"; return; }
    local function
    function=$(complete -p "$command" | sed -n 's/.*-F \([^ ]*\) .*/\1/p')
    COMPREPLY=()
    "$function" "$command" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

files=$(mktemp -d)
trap 'rm -rf "$prefix" "$files"' EXIT
cd "$files" || exit 1
mkdir guides
touch a.pdf B.PDF c.txt d.doc guides/old.pdf

# line | = exactly these words, or > at least these words | words
cases="
corvella-diff --|>|--format --help --quiet --version --words
corvella-diff --w|=|--words
corvella-diff --format |>|json text
corvella-diff --format j|=|json
corvella-diff --annotate |=|guides
corvella-diff --password1 |=|
corvella-diff --ig|=|--ignore-case --ignore-layout --ignore-numbers --ignore-punctuation
corvella-diff --pages1 |=|
corvella-diff --words |=|B.PDF a.pdf c.txt guides
corvella-diff a.pdf |=|B.PDF a.pdf c.txt guides
corvella-diff guides/|=|guides/old.pdf
corvella-diff --out |=|guides
corvella-diff --batch guides |=|guides
corvella-diff --batch-list |=|B.PDF a.pdf c.txt d.doc guides
corvella-diff --shard |=|
corvella |=|B.PDF a.pdf guides
corvella --|=|--help --review --version
corvella --v|=|--version
"
failures=0
while IFS='|' read -r line mode expected; do
    [ -n "$line" ] || continue
    got=$(complete_line "$line")
    missing=$(comm -23 <(tr ' ' '\n' <<<"$expected") <(tr ' ' '\n' <<<"$got"))
    if { [ "$mode" = = ] && [ "$got" != "$expected" ]; } || [ -n "$missing" ]; then
        echo "FAIL: '$line' offers '$got', expected $mode '$expected'"
        failures=$((failures + 1))
    fi
done <<<"$cases"

# Whatever options are offered, corvella-diff --help names them.
for option in $(complete_line "corvella-diff --"); do
    if ! corvella-diff --help | grep -q -- "$option\b"; then
        echo "FAIL: $option is offered but not in corvella-diff --help"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ] && echo "All completions as expected."
exit $((failures > 0))
