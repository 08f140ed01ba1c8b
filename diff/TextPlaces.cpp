// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/TextPlaces.h"

#include <algorithm>

#include "core/PaneText.h"

namespace corvella::TextPlaces {

Locator::Locator(QStringView text) : text_(text), lineStarts_{0} {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == PaneText::kFormFeed) formFeeds_.push_back(i);
        if (text[i] == PaneText::kCR && i + 1 < text.size() && text[i + 1] == PaneText::kLF)
            lineStarts_.push_back(i + 2);
    }
}

qsizetype Locator::lineOf(qsizetype position) const {
    return qsizetype(std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position) -
                     lineStarts_.begin()) -
           1;
}

Place Locator::of(const TextRange& range) const {
    const QStringView entryText = text_.mid(range.start, range.length);
    qsizetype feeds = 0;
    while (feeds < entryText.size() && entryText[feeds] == PaneText::kFormFeed) ++feeds;
    const qsizetype first =
        range.start + std::max<qsizetype>(0, feeds == entryText.size() ? feeds - 1 : feeds);
    const qsizetype page = std::lower_bound(formFeeds_.begin(), formFeeds_.end(), first) -
                           formFeeds_.begin();  // form feeds before it
    const qsizetype line = lineOf(range.start);
    const qsizetype pageFirstLine = page == 0 ? 0 : lineOf(formFeeds_[size_t(page - 1)]);
    return {qint32(page + 1), qint32(line - pageFirstLine + 1),
            range.start - lineStarts_[size_t(line)]};
}

void Locate(QStringView text, std::vector<Difference>& differences) {
    if (differences.empty()) return;
    const Locator locator(text);
    for (Difference& difference : differences) {
        const Place place = locator.of(difference.span);
        difference.page = place.page;
        difference.line = place.line;
    }
}

int PageCount(QStringView text) {
    const qsizetype lastFeed = text.lastIndexOf(PaneText::kFormFeed);
    const QStringView after = text.mid(lastFeed + 1);
    const bool textAfter = std::any_of(after.begin(), after.end(), [](QChar c) {
        return c != PaneText::kCR && c != PaneText::kLF;
    });
    return int(text.count(PaneText::kFormFeed) + (textAfter ? 1 : 0));
}

}  // namespace corvella::TextPlaces
