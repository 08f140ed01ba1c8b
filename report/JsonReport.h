// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QByteArray>
#include <QIODevice>

#include "report/DifferenceReport.h"

namespace corvella::JsonReport {

// One indented JSON object: the method, and per file its name, page count (and the pages chosen,
// "pageRanges") and differences ({page, line, text}, and for words the offset in the line). Pages
// are the document's own numbers. The layout-free comparison adds the options in force
// ("options": ["ignore-case", ...]), per entry its place in the other file ("other") and its
// changed characters ("changes": [[offset, length], ...] in its text, or "too long to refine"),
// and "moved", "reordered" (their words in the first file's order and their places in both) and
// "typography" (each file's place and words).
// Written to `out` entry by entry, so that millions of differences never stand in memory as a
// document. What filters hid, if any, is named in "hidden" ({"kinds", "containing", "changes"}).
void Write(const Comparison& comparison, const DifferenceReport::File& first,
           const DifferenceReport::File& second, QIODevice& out,
           const DifferenceReport::Hidden& hidden = {});

// The same object as bytes.
QByteArray Write(const Comparison& comparison, const DifferenceReport::File& first,
                 const DifferenceReport::File& second, const DifferenceReport::Hidden& hidden = {});

}  // namespace corvella::JsonReport
