#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Every source, build and script file of ours names its copyright holder and its licence in two
# SPDX lines near its top.
#
#   tools/spdx-headers.sh --check [PATH...]   lists the files without them; status 1 if any
#   tools/spdx-headers.sh --fix [PATH...]     adds what is missing, in each file's comment syntax
#
# A PATH is a file or a folder (walked; default: the current folder). The lines go first, or
# after a "#!" line or an XML declaration, which must stay first:
#   //    *.cpp *.cc *.cxx *.h *.hh *.hpp, and *.in templates of those (core/BuildConfig.h.in)
#   #     CMakeLists.txt *.cmake, *.sh *.bash *.py *.bash-completion, *.h2m.in (help2man ignores
#         lines before the first section), *.desktop, *.supp, and any other file with a "#!" line
#         (run.sh, .ci/run, debian/rules)
#   <!--  *.xml *.xml.in *.qrc
# Skipped, as kinds that carry no comment or are not program source (debian/copyright covers
# them): documents (*.md, COPYING), pictures (*.png *.svg *.jpg *.ico), JSON, Debian's control
# data in debian/ other than debian/rules, editor and git settings (dotfiles), empty files and
# binaries, the fuzzers' seed corpora (tests/fuzz/corpus), and build output (build/, build-*/,
# obj-*/, debian/tmp and the package folders).
set -uo pipefail

licence_line="SPDX-License-Identifier: GPL-3.0-or-later"
copyright_line="SPDX-FileCopyrightText: $(date +%Y) Kestrovan"

usage() {
    echo "Usage: $0 --check|--fix [PATH...]" >&2
    exit 2
}
[ $# -ge 1 ] || usage
mode=$1
shift
[ "$mode" = --check ] || [ "$mode" = --fix ] || usage
[ $# -ge 1 ] || set -- .

# The comment style of a file ("//", "#" or "xml"), or nothing when it is skipped.
style_of() {
    local path=$1 name=${1##*/}
    [ -s "$path" ] && grep -Iq . "$path" || return 0
    case "/$path" in
    */debian/rules) echo "#" ;;
    */debian/*) ;;
    *.cpp | *.cc | *.cxx | *.h | *.hh | *.hpp | *.h.in | *.hpp.in | *.cpp.in) echo "//" ;;
    */CMakeLists.txt | *.cmake | *.cmake.in | *.sh | *.bash | *.py | *.bash-completion | *.h2m.in | \
        *.desktop | *.supp) echo "#" ;;
    *.xml | *.xml.in | *.qrc) echo xml ;;
    *)
        if [[ "$name" != .* && "$name" != *.md && "$name" != *.json && "$name" != COPYING* ]] &&
            [ "$(head -c 2 "$path")" = '#!' ]; then
            echo "#"
        fi
        ;;
    esac
}

# The files under the paths, without build output and seed corpora.
files_under() {
    find "$@" \( -name .git -o -name build -o -name 'build-*' -o -name 'obj-*' -o -name corpus \
        -o -path '*/debian/.debhelper' -o -path '*/debian/tmp' -o -path '*/debian/corvella' \
        -o -path '*/debian/corvella-*' -o -path '*/tests/fuzz/corpus' \) -prune -o -type f -print |
        sort
}

has_licence() { [[ "$(head -n 10 "$1")" == *"$licence_line"* ]]; }
has_copyright() { [[ "$(head -n 10 "$1")" =~ SPDX-FileCopyrightText:\ [^$'\n']*Kestrovan ]]; }

# Writes the missing lines into FILE, after its "#!" line or XML declaration if it has one.
fix() {
    local file=$1 style=$2 open close lines=() skip=0 tmp next
    case "$style" in
    xml) open="<!-- " close=" -->" ;;
    *) open="$style " close="" ;;
    esac
    has_copyright "$file" || lines+=("$open$copyright_line$close")
    has_licence "$file" || lines+=("$open$licence_line$close")
    [ ${#lines[@]} -gt 0 ] || return 0
    if head -n 1 "$file" | grep -q '^#!' || { [ "$style" = xml ] && head -n 1 "$file" | grep -q '^<?xml'; }; then
        skip=1
    fi
    tmp=$(mktemp) || return 1
    {
        head -n "$skip" "$file"
        printf '%s\n' "${lines[@]}"
        # A blank line before code; none before a comment that goes on.
        next=$(sed -n "$((skip + 1))p" "$file")
        case "$style:$next" in
        "//://"* | "#:#"* | "xml:<!--"* | *:) ;;
        *) echo ;;
        esac
        tail -n "+$((skip + 1))" "$file"
    } >"$tmp" && cat "$tmp" >"$file"
    rm -f "$tmp"
}

missing=0
while IFS= read -r file; do
    style=$(style_of "$file")
    [ -n "$style" ] || continue
    has_licence "$file" && has_copyright "$file" && continue
    if [ "$mode" = --fix ]; then
        fix "$file" "$style" || exit 1
        echo "added: $file"
    else
        echo "$file"
        missing=$((missing + 1))
    fi
done < <(for path in "$@"; do
    if [ -d "$path" ]; then files_under "$path"; else echo "$path"; fi
done)

if [ "$mode" = --check ] && [ $missing -gt 0 ]; then
    echo "$missing files lack the lines '$copyright_line' and '$licence_line'" \
        "(tools/spdx-headers.sh --fix adds them)." >&2
    exit 1
fi
exit 0
