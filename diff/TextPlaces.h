// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "core/TextRange.h"
#include "diff/Difference.h"

// Pages and lines of a pane's text (CR LF breaks; the extractor ends every page with a form feed,
// so pages are counted by form feeds).
namespace corvella::TextPlaces {

struct Place {
    qint32 page = 1;       // from 1
    qint32 line = 1;       // the line's number on its page, from 1
    qsizetype offset = 0;  // from the start of its line, from 0
};

class Locator {
public:
    explicit Locator(QStringView text);
    // The place of a range: a range that starts with a page's form feed stands on that page; one
    // of form feeds only, on the page its last one ends.
    Place of(const TextRange& range) const;

private:
    qsizetype lineOf(qsizetype position) const;

    QStringView text_;
    std::vector<qsizetype> lineStarts_;
    std::vector<qsizetype> formFeeds_;
};

// Gives each difference the page and line of its span.
void Locate(QStringView text, std::vector<Difference>& differences);

// The number of pages of a text: one per form feed, and one more for text after the last one.
int PageCount(QStringView text);

}  // namespace corvella::TextPlaces
