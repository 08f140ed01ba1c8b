#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Typesets real prose two ways, as two unrelated programs would, for typography_bench: the
# licence texts Debian ships (GPL-3, GFDL-1.3, LGPL-2.1, MPL-2.0, about 16,000 words) as
#   browser.pdf  Chromium's print of an HTML page: A4, serif, justified, words hyphenated at line
#                ends, ligatures, curly quotes, en dashes, its own header and footer (page 12/37);
#   office.pdf   LibreOffice's export of an ODT: Letter, sans serif, ragged right, straight quotes
#                and "--", a footer "Page 3 of 40";
#   edited.pdf   the same as office.pdf with known edits (replaced words, a typo, changed numbers,
#                inserted sentences, a deleted paragraph, a moved paragraph), listed in edits.txt.
#
#   bench/typeset_pairs.sh OUT_DIR
#
# Needs chromium, libreoffice (Writer) and python3. The PDFs are made, not kept in the repository.
set -euo pipefail
if [ $# -ne 1 ]; then
    sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//' >&2
    exit 2
fi
out=$(mkdir -p "$1" && cd "$1" && pwd)
work=$(mktemp -d /tmp/corvella-typeset-XXXXXX)
trap 'rm -rf "$work"' EXIT

python3 - "$work" "$out/edits.txt" <<'EOF'
import html, random, re, sys
work, edits_path = sys.argv[1], sys.argv[2]
licences = ['GPL-3', 'GFDL-1.3', 'LGPL-2.1', 'MPL-2.0']
paragraphs = []
for name in licences:
    text = open('/usr/share/common-licenses/' + name, encoding='utf-8').read()
    for block in re.split(r'\n\s*\n', text):
        words = block.split()
        if words:
            paragraphs.append(words)

def smart(words):
    """Curly quotes, en dashes and soft hyphens, as a typesetter for print writes them."""
    text = ' '.join(words)
    text = re.sub(r'(^|[\s(\[])"', '\\1\u201c', text).replace('"', '\u201d')
    text = re.sub(r"(^|[\s(\[])'", '\\1\u2018', text).replace("'", '\u2019')
    text = text.replace('--', '\u2013')
    # A soft hyphen between a vowel and the consonant after it, before another consonant, in long
    # words: the browser hyphenates there at a line's end.
    return re.sub(r'\b[A-Za-z]{8,}\b', lambda m: re.sub(
        r'(?<=[aeiou][bcdfghlmnprstv])(?=[bcdfghlmnprstv][aeiou])', '\u00ad', m.group(0)), text)

def write_html(path, paras):
    body = '\n'.join('<p>%s</p>' % html.escape(smart(p), quote=False) for p in paras)
    style = ('@page{size:A4;margin:2cm}body{font:11.5pt serif;text-align:justify;'
             'hyphens:manual;font-variant-ligatures:common-ligatures}p{margin:0 0 .5em}')
    open(path, 'w', encoding='utf-8').write(
        '<!DOCTYPE html><html lang="en"><head><meta charset="utf-8"><title>Licences</title>'
        '<style>%s</style></head><body>%s</body></html>' % (style, body))

def write_fodt(path, paras):
    ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
          'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
          'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
          'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
          'xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"')
    body = ''.join('<text:p text:style-name="Standard">%s</text:p>' % html.escape(' '.join(p))
                   for p in paras)
    open(path, 'w', encoding='utf-8').write(
        '<?xml version="1.0" encoding="UTF-8"?><office:document %s office:version="1.2" '
        'office:mimetype="application/vnd.oasis.opendocument.text">'
        '<office:font-face-decls><style:font-face style:name="Liberation Sans" '
        'svg:font-family="\'Liberation Sans\'" style:font-family-generic="swiss"/>'
        '</office:font-face-decls><office:styles><style:default-style style:family="paragraph">'
        '<style:paragraph-properties fo:text-align="start"/><style:text-properties '
        'style:font-name="Liberation Sans" fo:font-size="10.5pt" fo:language="en" fo:country="US"/>'
        '</style:default-style><style:style style:name="Standard" style:family="paragraph">'
        '<style:paragraph-properties fo:margin-bottom="0.18cm"/></style:style></office:styles>'
        '<office:automatic-styles><style:page-layout style:name="pm1"><style:page-layout-properties '
        'fo:page-width="8.5in" fo:page-height="11in" fo:margin-top="0.8in" fo:margin-bottom="0.6in" '
        'fo:margin-left="1in" fo:margin-right="1in"/></style:page-layout></office:automatic-styles>'
        '<office:master-styles><style:master-page style:name="Standard" style:page-layout-name="pm1">'
        '<style:footer><text:p>Page <text:page-number text:select-page="current"/> of '
        '<text:page-count/></text:p></style:footer></style:master-page></office:master-styles>'
        '<office:body><office:text>%s</office:text></office:body></office:document>' % (ns, body))

# The edits, each with a vocabulary the texts do not hold (numbers too), so that a reported word
# tells which edit it belongs to.
random.seed(20261210)
known = {w.strip('.,;:()"\'').lower() for p in paragraphs for w in p}
fresh = iter(w for w in ['marmalade', 'zephyr', 'quartz', 'lantern', 'walrus', 'saffron',
                         'harbour', 'meadow', 'thimble', 'cobalt', 'juniper', 'pebble', 'orchard',
                         'falcon', 'velvet', 'tundra', 'biscuit', 'kettle', 'glacier', 'pumpkin',
                         'lagoon', 'nutmeg', 'sparrow', 'compass', 'cinnamon', 'tornado', 'ember',
                         'willow', 'acorn', 'badger', 'crimson', 'dolphin', 'galaxy', 'hazel']
             if w not in known)
edited = [list(p) for p in paragraphs]
edits = []
long_ones = [i for i, p in enumerate(edited) if len(p) >= 40]
chosen = random.sample(long_ones, 16)
for i in chosen[:8]:  # a word replaced by a new one
    k = random.randrange(5, len(edited[i]) - 5)
    old = edited[i][k].strip('.,;:()"\'')
    if not old.isalpha():
        continue
    new = next(fresh)
    edited[i][k] = edited[i][k].replace(old, new)
    edits.append(('replace', old, new))
for i, k in [(i, k) for i in chosen[8:9] + long_ones for k, w in enumerate(edited[i])
             if w == 'receive'][:1]:  # a typo
    edited[i][k] = 'recieve'
    edits.append(('replace', 'receive', 'recieve'))
numbers = [(i, k) for i, p in enumerate(edited) for k, w in enumerate(p)
           if re.fullmatch(r'\d{1,4}[.,]?', w)]
taken = {w.strip('.,') for p in paragraphs for w in p}
for i, k in random.sample(numbers, 5):  # a changed number
    old = edited[i][k].rstrip('.,')
    new = str(int(old) + 7)
    while new in taken:
        new = str(int(new) + 7)
    taken.add(new)
    edited[i][k] = edited[i][k].replace(old, new, 1)
    edits.append(('number', old, new))
for i in chosen[9:12]:  # an inserted sentence
    sentence = [next(fresh).capitalize()] + [next(fresh) for _ in range(5)]
    sentence[-1] += '.'
    at = random.randrange(1, len(edited[i]) - 1)
    while not edited[i][at - 1].endswith('.'):
        at += 1
    edited[i][at:at] = sentence
    edits.append(('insert', *[w.strip('.').lower() for w in sentence]))
deleted = chosen[12]
edits.append(('delete', *edited[deleted]))
moved = chosen[13]
edits.append(('move', *edited[moved]))
target = chosen[14] if abs(chosen[14] - moved) > 20 else chosen[15]
order = [i for i in range(len(edited)) if i not in (deleted, moved)]
order.insert(order.index(target) + 1, moved)

write_html(work + '/browser.html', paragraphs)
write_fodt(work + '/office.fodt', paragraphs)
write_fodt(work + '/edited.fodt', [edited[i] for i in order])
with open(edits_path, 'w', encoding='utf-8') as f:
    for edit in edits:
        f.write(' '.join(edit) + '\n')
EOF

chromium --headless --no-sandbox --disable-gpu --print-to-pdf="$out/browser.pdf" \
    "file://$work/browser.html" >/dev/null 2>&1
soffice=(libreoffice --headless "-env:UserInstallation=file://$work/profile" --convert-to pdf --outdir "$work")
"${soffice[@]}" "$work/office.fodt" >/dev/null 2>&1
"${soffice[@]}" "$work/edited.fodt" >/dev/null 2>&1
mv "$work/office.pdf" "$work/edited.pdf" "$out/"
for pdf in browser office edited; do
    echo "$pdf.pdf: $(pdfinfo "$out/$pdf.pdf" | awk '/^Pages:/ {print $2}') pages"
done
echo "edits.txt: $(wc -l <"$out/edits.txt") edits"
