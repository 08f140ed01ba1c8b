#!/usr/bin/env bash
# Every include of the program points down its layers:
#   core  <  output  <  compare  <  extract  <  window, cli
# A folder may include its own files and those of the folders below it; window and cli never
# include each other. Prints each include that breaks this, with its file and line, and fails.
#
#   tools/check-includes.sh [SOURCE_ROOT]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

rank() {
    case $1 in
        core) echo 0 ;; output) echo 1 ;; compare) echo 2 ;; extract) echo 3 ;;
        window | cli) echo 4 ;; *) echo -1 ;;
    esac
}

status=0
checked=0
while IFS= read -r -d '' file; do
    from=${file%%/*}
    from_rank=$(rank "$from")
    line_number=0
    while IFS= read -r line; do
        line_number=$((line_number + 1))
        [[ $line =~ ^[[:space:]]*#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]] || continue
        included=${BASH_REMATCH[1]}
        checked=$((checked + 1))
        [[ $included == */* ]] || continue # beside the file, or made by the build tools
        to=${included%%/*}
        to_rank=$(rank "$to")
        if [ "$to_rank" -lt 0 ]; then
            continue # not a folder of the program
        fi
        if [ "$to" = "$from" ]; then
            continue
        fi
        if [ "$to_rank" -ge "$from_rank" ]; then
            echo "$file:$line_number: $from/ may not include \"$included\"" >&2
            status=1
        fi
    done <"$file"
done < <(find core output compare extract window cli -type f \
    \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) -print0 2>/dev/null)

if [ $checked -eq 0 ]; then
    echo "no includes found under $PWD" >&2
    exit 1
fi
[ $status -eq 0 ] && echo "$checked includes, all pointing down"
exit $status
