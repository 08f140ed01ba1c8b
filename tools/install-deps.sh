#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Kestrovan
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing Corvella need.
# Only missing packages are installed, and only when running as root.
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libcups2-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    # the edit script of the layout-free comparison
    libdtl-dev
    poppler-utils qpdf
    # the annotated copies: word boxes through poppler's library, the PDF written by qpdf's
    libpoppler-cpp-dev libqpdf-dev
    fonts-liberation
    # Chinese and Hindi text set in the test PDFs
    fonts-wqy-microhei fonts-lohit-deva
    xvfb xauth
    # the review window read through the accessibility bus, as a screen reader reads it
    dbus at-spi2-core python3-pyatspi
    # the install test checks the desktop entry
    desktop-file-utils
    # the Debian packages: manual pages, icons, their checks, and installing them for the test
    dpkg-dev file lintian help2man man-db groff-base librsvg2-bin appstream libxml2-utils
    bash-completion
    # building them from debian/, and hardening-check
    debhelper devscripts bsdextrautils
    # the private print server of the printer tests
    cups-daemon cups-client cups-filters printer-driver-cups-pdf ghostscript fonts-dejavu-core
    # the word-processor comparison method, and the SDK its helper is built with
    libreoffice-writer libreoffice-dev
    # the browser the web-page reports are tested in
    chromium
    # the batch's shares are tested under GNU parallel
    parallel
    # the fuzz targets (libFuzzer with the sanitizers' runtimes)
    clang libfuzzer-14-dev libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
