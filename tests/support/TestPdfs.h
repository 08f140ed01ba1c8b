// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

// Real PDF files for the tests: text written by Qt's PDF writer, images, and qpdf's encryption.
namespace corvella::testing::TestPdfs {

// One page per entry; each page's text is drawn line by line.
bool WriteTextPdf(const QString& path, const QStringList& pages);
// A page holding only a picture of text: nothing to extract.
bool WriteImageOnlyPdf(const QString& path);
// qpdf --encrypt: with a user password the PDF needs it to open; without one but with
// `allowExtract` false, copying its text is forbidden.
bool Encrypt(const QString& input, const QString& output, const QString& userPassword,
             bool allowExtract);

}  // namespace corvella::testing::TestPdfs
