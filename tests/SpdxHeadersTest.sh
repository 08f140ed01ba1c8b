#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
#
# The licence-line tool lists every kind of file it covers that lacks the lines, adds them in
# each one's comment syntax (after a "#!" line or an XML declaration), leaves every file still
# valid, adds nothing twice and touches no skipped kind.
#
#   SpdxHeadersTest.sh TOOL
set -uo pipefail
tool=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cd "$tree" || exit 1

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

mkdir -p src tools packaging resources debian tests/fuzz/corpus/X build
printf '#pragma once\n\nint f();\n' >src/A.h
printf '#include "src/A.h"\n\nint f() { return 1; }\n' >src/A.cpp
printf 'namespace x {\ninline constexpr const char* kV = "@V@";\n}\n' >src/Config.h.in
printf 'add_library(a src/A.cpp)\n' >CMakeLists.txt
printf '#!/usr/bin/env bash\necho script-ran\n' >tools/run.sh
printf '#!/bin/sh\necho shebang-ran\n' >tools/noext
printf '[EXAMPLES]\nx\n' >packaging/a.h2m.in
printf '<?xml version="1.0" encoding="UTF-8"?>\n<component>\n</component>\n' >packaging/a.xml.in
printf '[Desktop Entry]\nType=Application\nName=A\nExec=a\n' >resources/a.desktop
printf '#!/usr/bin/make -f\n%%:\n\tdh $@\n' >debian/rules
chmod +x tools/run.sh tools/noext
# Skipped kinds.
printf '# A\n' >README.md
printf '{"a": 1}\n' >a.json
printf 'Source: a\n' >debian/control
printf 'seed\n' >tests/fuzz/corpus/X/seed.sh
printf '\x89PNG\r\n\x1a\n\0\0' >resources/a.png
printf '#!/bin/sh\n' >build/out.sh
covered="src/A.h src/A.cpp src/Config.h.in CMakeLists.txt tools/run.sh tools/noext packaging/a.h2m.in packaging/a.xml.in resources/a.desktop debian/rules"
skipped="README.md a.json debian/control tests/fuzz/corpus/X/seed.sh resources/a.png build/out.sh"
sums_before=$(md5sum $skipped)

listed=$("$tool" --check . 2>/dev/null | sed 's|^\./||' | sort)
status=${PIPESTATUS[0]}
[ "$status" -eq 1 ] || fail "--check exits $status on files without the lines"
[ "$listed" = "$(tr ' ' '\n' <<<"$covered" | sort)" ] || fail "--check lists: $listed"

"$tool" --fix . >/dev/null || fail "--fix failed"
"$tool" --check . >/dev/null || fail "--check still finds files without the lines"
for file in $covered; do
    [ "$(grep -c 'SPDX-License-Identifier: GPL-3.0-or-later' "$file")" -eq 1 ] &&
        [ "$(grep -c 'SPDX-FileCopyrightText: [0-9]* Kestrovan' "$file")" -eq 1 ] ||
        fail "$file does not carry each line once"
done
[ "$(md5sum $skipped)" = "$sums_before" ] || fail "--fix changed a skipped file"
fixed=$(md5sum $covered)
"$tool" --fix . >/dev/null && [ "$(md5sum $covered)" = "$fixed" ] || fail "a second --fix changed files"

# Each file still does its job, with its own comment syntax.
g++ -fsyntax-only -I. src/A.cpp || fail "src/A.cpp no longer compiles"
[ "$(head -n 1 src/A.h)" = "// SPDX-FileCopyrightText: $(date +%Y) Kestrovan" ] || fail "src/A.h: $(head -n 1 src/A.h)"
[ "$(tools/run.sh)" = script-ran ] && [ "$(tools/noext)" = shebang-ran ] ||
    fail "a script no longer runs (or lost its mode)"
for file in tools/noext debian/rules; do
    head -n 1 "$file" | grep -q '^#!' && sed -n 2p "$file" | grep -q '^# SPDX-FileCopyrightText' ||
        fail "$file: its #! line is not first, or the # lines do not follow it"
done
head -n 1 packaging/a.xml.in | grep -q '^<?xml' && xmllint --noout packaging/a.xml.in &&
    grep -q '^<!-- SPDX-License-Identifier: GPL-3.0-or-later -->$' packaging/a.xml.in ||
    fail "packaging/a.xml.in is no longer well-formed XML with its declaration first"
report=$(desktop-file-validate resources/a.desktop 2>&1) && [ -z "$report" ] || fail "a.desktop: $report"
grep -q '^# SPDX-' packaging/a.h2m.in || fail "packaging/a.h2m.in has no # lines"

[ $failures -eq 0 ] && echo "The licence lines go into every covered kind of file, correctly and once."
exit $((failures > 0))
