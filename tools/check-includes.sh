#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Every include of the program follows the table below: a folder may include its own files and
# what its row names (a folder, or a single header), nothing else of the program. So the layers
# point down, the engines see nothing of the window, and the two programs never include each
# other. Prints each include that breaks this, with its file and line, and fails.
#
#   tools/check-includes.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# folder        may include
allowed="
core            core
diff            core/TextRange.h core/PaneText.h core/Side.h
report          diff core/TextRange.h core/PaneText.h core/Side.h
annotate        diff core/TextRange.h core/Side.h
output          core
office          output core
display         core
extract         display core
compare         diff office display core
window/pane     core
window/review   window/pane compare diff core
window/reviewer window/review window/pane compare extract display office output report annotate diff core
window/main     window/reviewer window/review window/pane compare extract display office output report annotate diff core
batch           report diff core
cli             batch extract display report annotate diff core
"
folders=$(awk 'NF { print $1 }' <<<"$allowed")
# The top folders of the program's code (a room such as window/pane is a row of its own).
roots=$(sed 's|/.*||' <<<"$folders" | sort -u)

# The row a file belongs to: the longest folder of the table that holds it.
rowOf() {
    local folder best=
    for folder in $folders; do
        [[ $1 == "$folder"/* && ${#folder} -gt ${#best} ]] && best=$folder
    done
    echo "$best"
}

permitted() { # from included
    local entry
    for entry in $1 $(awk -v f="$1" '$1 == f { $1 = ""; print }' <<<"$allowed"); do
        [[ $2 == "$entry" || $2 == "$entry"/* ]] && return 0
    done
    return 1
}

status=0
checked=0
while IFS= read -r -d '' file; do
    from=$(rowOf "$file")
    line_number=0
    while IFS= read -r line; do
        line_number=$((line_number + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
        included=${BASH_REMATCH[1]}
        checked=$((checked + 1))
        [[ $included == */* ]] || continue # beside the file, or made by the build tools
        grep -qx "${included%%/*}" <<<"$roots" || continue # not a folder of the program
        if ! permitted "$from" "$included"; then
            echo "$file:$line_number: $from/ may not include \"$included\"" >&2
            status=1
        fi
    done <"$file"
done < <(find $folders -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) -print0 2>/dev/null)

if [ $checked -eq 0 ]; then
    echo "no includes found under $PWD" >&2
    exit 1
fi
[ $status -eq 0 ] && echo "$checked includes, all as the table allows"
exit $status
