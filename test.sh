#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Corvella and runs every test: once in the Release build that run.sh makes, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -uo pipefail
cd "$(dirname "$0")"

# How long each stage took, printed at the end.
stage_times=()
timed() {
    local name=$1 start=$SECONDS status=0
    shift
    "$@" || status=$?
    stage_times+=("$name: $((SECONDS - start)) s")
    return $status
}

timed "installing what the tests need" tools/install-deps.sh || exit 1

export QT_QPA_PLATFORM=offscreen

# Real PDFs for the corpus test (about 60 MB of downloads, kept under build/); without them that
# test is skipped.
timed "fetching the corpus" timeout 600 tools/fetch-corpus.sh build/corpus >/dev/null 2>&1 ||
    echo "Some PDFs of the corpus could not be fetched; the corpus test covers the rest."
status=0

run_suite() {
    local dir=$1; shift
    echo "=== $dir ==="
    cmake -S . -B "$dir" "$@" >/dev/null || return 1
    cmake --build "$dir" -j2 || return 1
    (cd "$dir" && ctest --output-on-failure -j2 --timeout 600)
}

# What run.sh builds is the whole program: the office helper is there and the build installs.
check_release_build() {
    echo "=== run.sh --build-only ==="
    ./run.sh --build-only || return 1
    local program
    for program in corvella corvella-diff corvella-office-compare; do
        if [ ! -x "build/release/$program" ]; then
            echo "run.sh did not build build/release/$program" >&2
            return 1
        fi
    done
    local prefix
    prefix=$(mktemp -d) || return 1
    cmake --install build/release --prefix "$prefix" >/dev/null
    local installed=$?
    rm -rf "$prefix"
    if [ $installed -ne 0 ]; then
        echo "cmake --install of the build run.sh made failed" >&2
        return 1
    fi
}

if timed "run.sh --build-only" check_release_build; then
    timed "release suite" run_suite build/release -DCMAKE_BUILD_TYPE=Release || status=1
    # The Debian packages built from debian/ (with the fast tests): lintian, hardening-check, and
    # as root apt-get install, a run from /usr/bin and a purge.
    echo "=== Debian packages ==="
    timed "Debian packages" tools/check-package.sh . || status=1
else
    status=1
fi

# Sanitizers: any report aborts the test process, which ctest counts as a failure.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
timed "sanitizer suite" run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DCORVELLA_SANITIZE=ON \
    -DCORVELLA_BENCH=OFF || status=1

# Fuzzing: every target of tests/fuzz for 25 s from its committed seeds (as many at once as there
# are cores), built with clang under the sanitizers; a crash, a sanitizer report or a failed check
# fails the run.
run_fuzz() {
    echo "=== build/fuzz ==="
    CC=clang CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCORVELLA_FUZZ=ON >/dev/null || return 1
    cmake --build build/fuzz -j2 --target fuzz || return 1
    tools/run-fuzz.sh build/fuzz 25
}
timed "fuzzing" run_fuzz || status=1

printf '%s\n' "${stage_times[@]}"

if [ $status -ne 0 ]; then
    echo "TESTS FAILED"
fi
exit $status
