#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# What software centres read, as the build installs it: the AppStream data passes appstreamcli's
# checks of the installed tree (no error, no warning), and it agrees with the desktop entry, the
# installed programs and the icons of the hicolor theme.
#
#   AppStreamTest.sh BUILD_DIR
set -uo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null || exit 1
share=$prefix/share

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

metainfo=$(find "$share/metainfo" -name '*.metainfo.xml')
[ "$(wc -l <<<"$metainfo")" -eq 1 ] || { echo "FAIL: not one metainfo file: $metainfo"; exit 1; }
report=$(appstreamcli validate-tree --no-net "$prefix" 2>&1) || fail "appstreamcli validate-tree: $report"

xml() { xmllint --xpath "$1" "$metainfo"; }
id=$(xml 'string(/component/id)')
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "the metainfo file is not named after $id"
[ "$(xml 'string(//launchable[@type="desktop-id"])')" = "$id.desktop" ] || fail "launchable is not $id.desktop"

entry=$share/applications/$id.desktop
[ -f "$entry" ] || { echo "FAIL: no desktop entry $id.desktop"; exit 1; }
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(key Name)" = "$(xml 'string(/component/name)')" ] || fail "the desktop entry's name differs from AppStream's"
[ "$(key Icon)" = "$id" ] || fail "the desktop entry's icon is not $id"
for type in $(xml '//provides/mediatype/text()'); do
    [[ ";$(key MimeType)" == *";$type;"* ]] || fail "the desktop entry does not open $type"
done
binaries=$(xml '//provides/binary/text()')
for binary in $binaries; do
    [ -x "$prefix/bin/$binary" ] || fail "$binary is provided but not installed"
done
grep -qw "${binaries%%$'\n'*}" <<<"$(key Exec)" || fail "the desktop entry does not start the first binary"
[ -n "$(xml 'string(//screenshot[@type="default"]/image)')" ] || fail "no screenshot"

# The icon in every size of the hicolor theme, that size, and the scalable drawing.
for size in 16 22 24 32 48 64 128 256; do
    icon=$share/icons/hicolor/${size}x${size}/apps/$id.png
    file "$icon" | grep -q "PNG image data, $size x $size," || fail "no ${size}x$size icon: $(file "$icon")"
done
file "$share/icons/hicolor/scalable/apps/$id.svg" | grep -q 'SVG' || fail "no scalable icon"

[ $failures -eq 0 ] && echo "AppStream data, desktop entry, programs and icons agree."
exit $((failures > 0))
