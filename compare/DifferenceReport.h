#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringView>
#include <vector>

#include "core/PaneDocument.h"

// The differences a comparison listed, located in their files and written out for people or
// programs. The extractor ends every page with a form feed, so pages are counted by form feeds.
namespace corvella::DifferenceReport {

struct Entry {
    int page = 1;          // from 1
    int line = 1;          // the line's number on its page, from 1
    qsizetype offset = 0;  // from the start of its line, from 0
    QString text;
};

// The listed ranges of a pane's text (CR LF breaks) with their places. A line that starts with a
// page's form feed is that page's first line.
std::vector<Entry> Locate(QStringView text, const std::vector<TextRange>& listed);

// The number of pages of a text: one per form feed, and one more for text after the last one.
int PageCount(QStringView text);

struct Side {
    QString name;
    int pages = 0;
    std::vector<Entry> entries;
};

// "p12:l4 < text" for each entry of the first file, then "p3:l1 > text" for the second.
QByteArray FormatText(const Side& first, const Side& second);

// One JSON object: the method, and per file its name, page count and differences ({page, line,
// text}, with the offset in the line when `withOffsets`).
QJsonObject JsonReport(const QString& method, const Side& first, const Side& second,
                       bool withOffsets);
// That object as indented JSON text.
QByteArray FormatJson(const QString& method, const Side& first, const Side& second,
                      bool withOffsets);

}  // namespace corvella::DifferenceReport
