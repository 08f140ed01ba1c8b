// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

#include "diff/Comparison.h"

// What every report of a comparison needs: the compared files and how a difference reads.
namespace corvella::DifferenceReport {

// A compared file: its name as given and its text as the panes hold it (CR LF breaks, a form
// feed ending each page), which the comparison's ranges point into.
struct File {
    QString name;
    QStringView text;
    // When only some of the document's pages were extracted (see PageSelection), the document's
    // number of each page of the text, in order; empty when the text holds every page.
    std::vector<int> pageNumbers{};
    QString pageRanges{};  // those pages as chosen ("1-3,5-13"); empty for every page

    // The document's number of the text's page `page` (counted from 1 by form feeds).
    int pageNumber(int page) const;
};

// What the filters of a list of changes left out of a report of it: the kinds hidden, the words
// every change shown contains, and how many changes they hid. A report of a whole comparison has
// none.
struct Hidden {
    QStringList kinds{};
    QString containing{};
    qsizetype changes = 0;

    bool any() const { return !kinds.isEmpty() || !containing.isEmpty(); }
    // "Hidden by the filters: 12 changes (moved, typography; shown only those containing
    // "sea")."; empty when none.
    QString sentence() const;
};

// "lines", "words" or "ignore-layout".
QString MethodName(Method method);

// The text of the side's difference `index`: the words of a layout-free run, else the text
// at its span in the file.
QString TextOf(const Comparison& comparison, Side side, size_t index, const File& file);

}  // namespace corvella::DifferenceReport
