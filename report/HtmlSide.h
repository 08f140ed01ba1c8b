// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <set>
#include <vector>

#include "core/TextRange.h"
#include "report/DifferenceReport.h"

// One text of the web-page report written cell by cell: its marks, its page and line numbers in
// the margin, and links at the places of its moved runs.
namespace corvella::HtmlSide {

// The five characters that could end a text or an attribute, written as references.
void AppendEscaped(QString& out, QChar c);

// Marks as the page shows them: each on the page of its first character after its own form
// feeds, ascending and not overlapping (each starts where the one before ends, at the latest).
std::vector<TextRange> Placed(const std::vector<TextRange>& marks, QStringView text);

// A link at a position of the text to an id elsewhere in the page; `label` shows in the margin.
struct Link {
    qsizetype at = 0;
    QString id;
    QString target;
    QString label;
};

struct Cell {
    QString html;          // the range's lines, for an element that keeps their breaks
    qsizetype height = 0;  // in screen lines, about: long lines wrap
};

class Writer {
public:
    // `number` 1 or 2 names the side's page ids: "f1p12" is the start of page 12 of file 1 (the
    // document's numbers). `marks` as Placed gives them; `links` ascending; `changes` (the changed
    // characters, shown more strongly) as Placed gives them, each within a mark. The file must
    // outlive the writer.
    Writer(int number, const DifferenceReport::File& file, std::vector<TextRange> marks,
           std::vector<Link> links, std::vector<TextRange> changes = {});

    // The next cell: `range` starts where the one before ended.
    Cell cell(const TextRange& range);

    // The pages (the document's numbers) on which a mark starts.
    const std::set<int>& markedPages() const { return markedPages_; }

private:
    void number(QString& out) const;
    void pageStarts(QString& out);
    void eventsAt(QString& out, qsizetype position);
    int shownPage(int page) const;

    int number_;
    const DifferenceReport::File& file_;
    QStringView text_;
    std::vector<TextRange> marks_;
    std::vector<Link> links_;
    std::vector<TextRange> changes_;
    int pages_;
    size_t nextMark_ = 0;
    size_t nextLink_ = 0;
    size_t nextChange_ = 0;
    qsizetype openUntil_ = -1;    // the end of the open mark, if any
    qsizetype changeUntil_ = -1;  // the end of the open changed characters, if any
    qint32 page_ = 1;
    qint32 line_ = 1;
    std::set<int> markedPages_;
    std::vector<int> pendingPages_;  // begun since the last character shown
};

}  // namespace corvella::HtmlSide
