// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Real PDF files for the tests: text written by Qt's PDF writer, images, qpdf's encryption, and
// web pages printed by headless Chromium.
namespace corvella::testing::TestPdfs {

// One page per entry; each page's text is drawn line by line.
bool WriteTextPdf(const QString& path, const QStringList& pages);
// A page holding only a picture of text: nothing to extract.
bool WriteImageOnlyPdf(const QString& path);
// qpdf --encrypt: with a user password the PDF needs it to open; without one but with
// `allowExtract` false, copying its text is forbidden.
bool Encrypt(const QString& input, const QString& output, const QString& userPassword,
             bool allowExtract);

// Prints the web page into `path` with headless Chromium (no header or footer). False when
// Chromium is not installed or printed nothing.
bool PrintHtml(const QString& html, const QString& path);

}  // namespace corvella::testing::TestPdfs
