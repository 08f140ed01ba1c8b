#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <vector>

#include "core/PaneDocument.h"

// A comparison as one self-contained web page: both texts side by side, page by page, with the
// differences marked as the window marks them, a summary at the top and the keys n and p to walk
// the differences. Nothing in it is loaded from elsewhere.
namespace corvella::HtmlReport {

struct Side {
    QString name;
    // The pane's text: CR LF breaks, a form feed ending each page.
    QString text;
    // Where the comparison marked the text, whatever its method: one mark each.
    std::vector<TextRange> marked;
};

// The five characters that could end a text or an attribute, written as references.
QString Escape(QStringView text);

QByteArray Write(const QString& method, const Side& first, const Side& second);

}  // namespace corvella::HtmlReport
