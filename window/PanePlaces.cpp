// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/PanePlaces.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace corvella::PanePlaces {

qsizetype ToDocument(const QTextDocument& document, qsizetype textPosition) {
    // The paragraph holding it: the last whose text start (document start plus one per earlier
    // break) is not after it.
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (qsizetype(document.findBlockByNumber(mid).position()) + mid <= textPosition)
            low = mid;
        else
            high = mid - 1;
    }
    return std::clamp<qsizetype>(textPosition - low, 0, document.characterCount() - 1);
}

qsizetype ToText(const QTextDocument& document, qsizetype documentPosition) {
    return documentPosition + document.findBlock(int(documentPosition)).blockNumber();
}

int LineOf(const QTextDocument& document, qsizetype textPosition) {
    const int position = int(ToDocument(document, textPosition));
    const QTextBlock block = document.findBlock(position);
    int line = block.firstLineNumber();
    if (const QTextLayout* layout = block.layout(); layout != nullptr && layout->lineCount() > 0)
        line += layout->lineForTextPosition(position - block.position()).lineNumber();
    return line;
}

qsizetype LineStart(const QTextDocument& document, int line) {
    const QTextBlock block = document.findBlockByLineNumber(std::max(0, line));
    if (!block.isValid()) return ToText(document, document.characterCount() - 1);
    int start = block.position();
    const int within = line - block.firstLineNumber();
    if (const QTextLayout* layout = block.layout();
        layout != nullptr && within > 0 && within < layout->lineCount())
        start += layout->lineAt(within).textStart();
    return ToText(document, start);
}

void LayOutAround(const QTextDocument& document, qsizetype textPosition, int linesAbove,
                  int linesBelow) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    auto lines = [&](const QTextBlock& block) {
        layout->blockBoundingRect(block);  // lays the paragraph out when it is not yet
        return std::max(1, block.lineCount());
    };
    const int position = int(ToDocument(document, textPosition));
    const QTextBlock at = document.findBlock(position);
    const int count = lines(at);
    int within = 0;  // the position's line in its paragraph
    if (const QTextLayout* own = at.layout(); own != nullptr && own->lineCount() > 0)
        within = own->lineForTextPosition(position - at.position()).lineNumber();
    int above = within;
    for (QTextBlock block = at.previous(); block.isValid() && above < linesAbove;
         block = block.previous())
        above += lines(block);
    int below = count - within - 1;
    for (QTextBlock block = at.next(); block.isValid() && below < linesBelow; block = block.next())
        below += lines(block);
}

}  // namespace corvella::PanePlaces
