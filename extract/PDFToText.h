// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

#include "core/Services.h"
#include "extract/PageRanges.h"

namespace corvella::RTB {

// Where PDFToText leaves the text of the PDF it converts: a file of this process in the private
// temp folder, so that nothing beside the PDF is ever written, overwritten or deleted.
QString ExtractedTextPath();

// Runs the deployed extractor on the PDF, hidden, with UTF-8 output into ExtractedTextPath(), and
// waits for it with the window live. On entry `path` holds the PDF's path; on return it holds the
// text file's path. Without any text (a password, copying forbidden, a broken file) no file is
// there afterwards.
// With `arriving`, the text also comes in pieces as it is extracted, in order, each as the
// extractor wrote it: the page ranges then run in order, and `arriving` hears each range's text as
// soon as it and all before it are there.
// With `chosen` ranges (ascending, within the document), only those pages are extracted, in order.
void PDFToText(QString& path, Services& services,
               const std::function<void(const QByteArray&)>& arriving = {},
               const std::vector<PageRanges::Range>& chosen = {});

// The document information of a PDF (its page count, whether it is encrypted), read with the
// window live; unknown when it cannot be read in time.
PageRanges::DocumentInfo DocumentInfoOf(const QString& pdf, EventPump& events);

}  // namespace corvella::RTB
