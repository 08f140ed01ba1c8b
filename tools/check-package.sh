#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Builds the Debian packages from debian/ with dpkg-buildpackage, in a copy of the source tree
# (dpkg-buildpackage writes beside the tree, and the tree stays clean), with the fast tests of
# the suite; checks them with lintian (no error, no warning) and the binaries with
# hardening-check; and, as root, installs them with apt-get as a user would, runs the installed
# programs on a PDF pair and purges them again, leaving the packages of the machine as they were.
#
#   tools/check-package.sh [SOURCE_DIR]      DEB_BUILD_OPTIONS=nocheck skips the build's tests
set -uo pipefail

source=$(cd "${1:-$(dirname "$0")/..}" && pwd) || exit 1
work=$(mktemp -d) || exit 1
before=""
fail() {
    echo "check-package: $*" >&2
    exit 1
}

installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | sed -n 's/^ii  //p' | sort; }

# Whatever happens, the packages go again, with the dependencies apt brought in for them (only
# those marked automatic: a package someone else installed meanwhile stays).
restore() {
    local added
    if [ -n "$before" ]; then
        added=$(installed_packages | comm -13 "$before" - |
            comm -12 - <( (echo corvella; echo corvella-office; apt-mark showauto) | sort))
        if [ -n "$added" ]; then
            # shellcheck disable=SC2086
            DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $added >/dev/null 2>&1 ||
                echo "check-package: could not purge: $added" >&2
        fi
    fi
    rm -rf "$work"
}
trap restore EXIT

# The tracked and new files of the tree, as they are now; no build output.
version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version) || fail "no debian/changelog"
tree="$work/corvella-$version"
mkdir "$tree" || exit 1
(cd "$source" && git ls-files -z --cached --others --exclude-standard |
    xargs -0 -r sh -c 'for f; do [ -e "$f" ] || [ -L "$f" ] && printf "%s\0" "$f"; done' _ |
    tar --null -T - -cf -) | tar -xf - -C "$tree" || fail "could not copy $source"

# The source package too, for lintian's checks of debian/.
(cd "$work" && dpkg-source -b "${tree##*/}") >"$work/source.log" 2>&1 ||
    { cat "$work/source.log" >&2; fail "dpkg-source -b failed"; }
echo "dpkg-buildpackage -us -uc -b (in $tree):"
start=$SECONDS
(cd "$tree" && dpkg-buildpackage -us -uc -b -j2) >"$work/build.log" 2>&1 ||
    {
        tail -n 60 "$work/build.log" >&2
        # The whole output of each test that failed (ctest prefixes its lines with its number).
        awk '/The following tests FAILED:/ { listing = 1; next }
             listing && /^[[:space:]]+[0-9]+ - / { failed[$1] = 1; next }
             { lines[NR] = $0 }
             END { for (i = 1; i <= NR; i++) { split(lines[i], f, ":"); if (f[1] in failed) print lines[i] } }' \
            "$work/build.log" >&2
        fail "dpkg-buildpackage failed (log above)"
    }
# What the build's tests left out and why, and how they went.
awk '/^Left out of the package build/ { listing = 1; print; next }
     listing && /^    / { print; next }
     { listing = 0 }
     /tests passed, / { print }' "$work/build.log" | sed 's/^/  /'
echo "  built in $((SECONDS - start)) s"

shopt -s nullglob
changes=("$work"/corvella_"${version}"_*.changes)
main=("$work"/corvella_"${version}"_*.deb)
office=("$work"/corvella-office_"${version}"_*.deb)
[ ${#changes[@]} -eq 1 ] && [ ${#main[@]} -eq 1 ] && [ ${#office[@]} -eq 1 ] ||
    fail "the build did not make corvella and corvella-office: $(ls "$work")"
field() { dpkg-deb -f "$1" "$2"; }
grep -qw poppler-utils <<<"$(field "${main[0]}" Depends)" || fail "corvella does not depend on poppler-utils"
grep -qw corvella-office <<<"$(field "${main[0]}" Suggests)" || fail "corvella does not suggest corvella-office"
[[ "$(field "${office[0]}" Depends)" == *"corvella (= $version)"*libreoffice-writer* ]] ||
    fail "corvella-office does not depend on corvella (= $version) and libreoffice-writer"
helper=usr/lib/corvella/corvella-office-compare
contents=$(dpkg-deb -c "${office[0]}" && dpkg-deb -c "${main[0]}") || exit 1
grep -q " \./$helper$" <<<"$contents" || fail "corvella-office has no /$helper"
! grep -q 'usr/bin/corvella-office-compare\|man./corvella-office' <<<"$contents" ||
    fail "the office helper is still in /usr/bin or has a manual page"

echo "lintian:"
# lintian complains about running as root; the packages are only read.
lintian --fail-on error,warning --display-info "${changes[0]}" "$work/corvella_$version.dsc" 2>&1 |
    grep -v 'running with root privileges' | sed 's/^/  /'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors or warnings"

# Every feature of Debian 12's hardening flags. Control-flow protection is not among them (its
# dpkg-buildflags has no such feature). Fortify does not count, as lintian does not, memcpy,
# memmove, memset and their wide forms (sizes that only show at run time, which a fortified build
# leaves as they are), nor corvella's one readlink, whose constant length the compiler checks
# (debian/corvella.lintian-overrides).
echo "hardening-check:"
dpkg-deb -x "${main[0]}" "$work/root" && dpkg-deb -x "${office[0]}" "$work/root" || exit 1
for binary in usr/bin/corvella usr/bin/corvella-diff "$helper"; do
    report=$(hardening-check --nocfprotection --verbose "$work/root/$binary")
    sed -e "s|$work/root||" -e 's/^/  /' <<<"$report"
    failed=$(grep -E '^ [^:]+: no' <<<"$report" | grep -v '(ignored)$')
    if [ "$failed" = " Fortify Source functions: no, only unprotected functions found!" ]; then
        failed=$(sed -n 's/^\tunprotected: //p' <<<"$report" | grep -Evx 'w?mem(cpy|move|set)|readlink')
    fi
    [ -z "$failed" ] || fail "hardening-check $binary: $failed"
done

if [ "$(id -u)" -ne 0 ]; then
    echo "Not root: the packages are not installed."
    exit 0
fi
for name in corvella corvella-office; do
    if dpkg-query -W -f='${db:Status-Status}' "$name" 2>/dev/null | grep -qv '^not-installed$'; then
        echo "The package $name is on this machine already: the install check leaves it alone."
        exit 0
    fi
done
if [ -e /usr/bin/corvella ] || [ -e /usr/bin/corvella-diff ]; then
    echo "/usr/bin/corvella is there already, not from a package: the install check is skipped."
    exit 0
fi

before="$work/before"
installed_packages >"$before"
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq "${main[0]}" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install ${main[0]##*/} failed"; }

# A PDF of one page, one text line per argument; qpdf writes its cross-reference table.
make_pdf() {
    local out=$1 line content="BT /F1 12 Tf 14 TL 72 720 Td"
    shift
    for line in "$@"; do content+=" ($line) Tj T*"; done
    content+=" ET"
    printf '%s\n' '%PDF-1.4' \
        '1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj' \
        '2 0 obj << /Type /Pages /Kids [3 0 R] /Count 1 >> endobj' \
        '3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792]' \
        '   /Resources << /Font << /F1 4 0 R >> >> /Contents 5 0 R >> endobj' \
        '4 0 obj << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> endobj' \
        "5 0 obj << /Length ${#content} >> stream" "$content" 'endstream endobj' \
        'trailer << /Root 1 0 R /Size 6 >>' '%%EOF' >"$out.raw"
    qpdf "$out.raw" "$out" 2>/dev/null
    [ $? -le 3 ] && [ -s "$out" ]
}
make_pdf "$work/old.pdf" "Installation" "Press the red button." "Done." &&
    make_pdf "$work/new.pdf" "Installation" "Press the green button." "Done." ||
    fail "could not write the test PDFs"

for program in corvella corvella-diff; do
    name=$program
    [ $program = corvella ] && name=Corvella
    shown=$(QT_QPA_PLATFORM=offscreen /usr/bin/$program --version)
    [ "$(head -n 1 <<<"$shown")" = "$name $version" ] || fail "$program --version: $shown"
    grep -q 'GNU GPL version 3 or later' <<<"$shown" || fail "$program --version names no licence"
done
expected=$'p1:l2 < Press the red button.\np1:l2 > Press the green button.'
report=$(cd "$work" && /usr/bin/corvella-diff old.pdf new.pdf)
[ $? -eq 1 ] && [ "$report" = "$expected" ] ||
    fail "corvella-diff old.pdf new.pdf printed \"$report\""
(cd "$work" && /usr/bin/corvella-diff -q old.pdf old.pdf) || fail "corvella-diff: a PDF differs from itself"
[ "$(man -w corvella-diff)" = /usr/share/man/man1/corvella-diff.1.gz ] || fail "man corvella-diff finds no page"
[ -e "$(pkg-config --variable=completionsdir bash-completion)/corvella-diff" ] ||
    fail "the completion is not where bash-completion looks"
[ -s /usr/share/doc/corvella/copyright ] || fail "no /usr/share/doc/corvella/copyright"

apt-get install -y -qq "${office[0]}" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get install ${office[0]##*/} failed"; }
! ldd "/$helper" | grep 'not found' || fail "the office helper misses libraries"
# The installed helper runs, and the installed program looks for it there.
[ "$("/$helper" 2>&1)" = "Usage: corvella-office-compare [options] TEXT1 TEXT2" ] ||
    fail "/$helper does not run"
grep -qaF "/usr/lib/corvella" /usr/bin/corvella || fail "corvella does not look in /usr/lib/corvella"

apt-get purge -y -qq corvella-office corvella >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get purge failed"; }
for path in /usr/bin/corvella /usr/bin/corvella-diff /usr/lib/corvella /usr/share/doc/corvella \
    /usr/share/doc/corvella-office /usr/share/metainfo/com.kestrovan.Corvella.metainfo.xml; do
    [ ! -e "$path" ] || fail "$path is left after purging"
done
echo "Installed with apt-get, ran corvella, corvella-diff and the office helper, purged again."
