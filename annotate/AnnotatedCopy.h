// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "annotate/DifferenceStyles.h"

class QPDF;

// A copy of a PDF with highlight annotations added to its pages, written by qpdf: the pages, their
// content, links, outline, metadata and annotations stay as they are, and an encrypted PDF keeps
// its encryption.
namespace corvella::AnnotatedCopy {

struct Highlight {
    int page = 1;  // from 1
    DifferenceStyles::Colour colour;
    std::vector<QRectF> boxes;  // in the PDF's own coordinates
    QString subject;
    QString note;
};

// What the password given opens.
struct Access {
    QString problem;           // why the PDF cannot be opened; empty when it can
    bool owner = false;        // the owner's password: the document's restrictions do not apply
    bool textCopyable = true;  // its text may be copied, by the owner or by all
};
Access Open(const QString& pdf, const QString& password);

// A PDF's bytes when they are few enough to read it from memory (up to a quarter of a gigabyte),
// which spares the readers a seek and a read of the file per object; else nothing, and it is read
// from its file as they go.
QByteArray ReadWhole(const QString& pdf);

// A PDF read for its copy ahead of the highlights, every object of it parsed: the longest part of
// the work, which needs no highlights and so can run beside their placing.
class Document {
public:
    Document(const QString& pdf, const QString& password);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // Why it cannot be copied; empty when it can.
    const QString& problem() const { return problem_; }

    // Writes the copy at `target`, whole or not at all: under a temporary name beside it, renamed
    // once complete, so a file at `target` is never half written. Returns why it could not, or
    // nothing. Once only: the highlights stay in the document.
    QString write(const std::vector<Highlight>& highlights, const QString& target);

private:
    QByteArray contents_;  // the PDF read whole, when not too large; qpdf reads from it
    std::unique_ptr<QPDF> pdf_;
    QString password_;
    QString problem_;
};

}  // namespace corvella::AnnotatedCopy
