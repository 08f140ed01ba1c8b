// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

#include "annotate/BoxMatcher.h"

namespace poppler {
class document;
}

// The words of a PDF's pages with their boxes, read in the process by the extractor's own library
// with the extractor's reading order, so they come in the order of the extracted text.
namespace corvella::PageWords {

struct Page {
    QRectF cropBox;    // in the PDF's own coordinates, which annotations use
    int rotation = 0;  // how far the page is turned clockwise when shown: 0, 90, 180 or 270
    std::vector<BoxMatcher::WordBox> words;
};

// A PDF opened for its words, read one page at a time.
class Reader {
public:
    // Reads from `contents`, the PDF's bytes, when given (which must outlive the reader).
    Reader(const QString& pdf, const QString& password, const QByteArray& contents = {});
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Why the PDF could not be opened; empty when it was.
    const QString& problem() const { return problem_; }
    int pageCount() const;
    // The words of a page from 1 (none past the last page).
    Page read(int page) const;

private:
    std::unique_ptr<poppler::document> document_;
    QString problem_;
};

// A box in the page as shown (points from its top-left corner) in the PDF's own coordinates.
QRectF ToPdfSpace(const QRectF& shown, const Page& page);

}  // namespace corvella::PageWords
