#include "window/PanePlaces.h"

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

}  // namespace corvella::PanePlaces
