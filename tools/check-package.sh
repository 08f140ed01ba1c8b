#!/usr/bin/env bash
# Builds the Debian packages from a build folder (after ./run.sh --build-only, build/release),
# checks them with lintian and, as root, installs them with apt-get as a user would, runs the
# installed programs on a PDF pair and purges them again, leaving the packages of the machine as
# they were.
#
#   tools/check-package.sh [BUILD_DIR]
set -uo pipefail

build=$(cd "${1:-build/release}" && pwd) || exit 1
packages="$build/package"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

rm -rf "$packages"
cpack_log=$(cd "$build" && cpack -G DEB 2>&1) || { echo "$cpack_log" >&2; fail "cpack could not build the packages"; }
# corvella-office is there when the build had the LibreOffice SDK.
shopt -s nullglob
debs=("$packages"/*.deb)
main=("$packages"/corvella_*.deb)
office=("$packages"/corvella-office_*.deb)
[ ${#main[@]} -eq 1 ] || fail "cpack made no package corvella"
dpkg-deb -f "${main[0]}" Depends | grep -qw poppler-utils ||
    fail "corvella does not depend on poppler-utils"

echo "lintian:"
# lintian complains about running as root; the packages are only read.
lintian --fail-on error --display-info "${debs[@]}" 2>&1 |
    grep -v 'running with root privileges' | sed 's/^/  /'
[ "${PIPESTATUS[0]}" -eq 0 ] || fail "lintian reports errors"

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

installed_packages() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | sed -n 's/^ii  //p' | sort; }
before=$(mktemp) || exit 1
work=$(mktemp -d) || exit 1
installed_packages >"$before"

# Whatever happens, the packages go again, with the dependencies apt brought in for them (only
# those marked automatic: a package someone else installed meanwhile stays).
restore() {
    local added
    added=$(installed_packages | comm -13 "$before" - |
        comm -12 - <( (echo corvella; echo corvella-office; apt-mark showauto) | sort))
    if [ -n "$added" ]; then
        # shellcheck disable=SC2086
        DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq $added >/dev/null 2>&1 ||
            echo "check-package: could not purge: $added" >&2
    fi
    rm -rf "$work" "$before"
}
trap restore EXIT

export DEBIAN_FRONTEND=noninteractive
(cd "$packages" && apt-get install -y -qq ./corvella_*.deb >"$work/apt.log" 2>&1) ||
    { cat "$work/apt.log" >&2; fail "apt-get install ./corvella_*.deb failed"; }

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

version=$(dpkg-deb -f "${main[0]}" Version)
[ "$(/usr/bin/corvella --version)" = "Corvella $version" ] || fail "corvella --version is wrong"
expected=$'p1:l2 < Press the red button.\np1:l2 > Press the green button.'
report=$(cd "$work" && /usr/bin/corvella-diff old.pdf new.pdf)
[ $? -eq 1 ] && [ "$report" = "$expected" ] ||
    fail "corvella-diff old.pdf new.pdf printed \"$report\""
(cd "$work" && /usr/bin/corvella-diff -q old.pdf old.pdf) || fail "corvella-diff: a PDF differs from itself"
[ "$(man -w corvella-diff)" = /usr/share/man/man1/corvella-diff.1.gz ] || fail "man corvella-diff finds no page"
[ -e "$(pkg-config --variable=completionsdir bash-completion)/corvella-diff" ] ||
    fail "the completion is not where bash-completion looks"

if [ ${#office[@]} -gt 0 ]; then
    (cd "$packages" && apt-get install -y -qq ./corvella-office_*.deb >"$work/apt.log" 2>&1) ||
        { cat "$work/apt.log" >&2; fail "apt-get install ./corvella-office_*.deb failed"; }
    ! ldd /usr/bin/corvella-office-compare | grep 'not found' || fail "the office helper misses libraries"
fi

apt-get purge -y -qq "${office[@]:+corvella-office}" corvella >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log" >&2; fail "apt-get purge failed"; }
for path in /usr/bin/corvella /usr/bin/corvella-diff /usr/bin/corvella-office-compare \
    /usr/share/doc/corvella /usr/share/metainfo/com.kestrovan.Corvella.metainfo.xml; do
    [ ! -e "$path" ] || fail "$path is left after purging"
done
echo "Installed with apt-get, ran corvella and corvella-diff from /usr/bin, purged again."
