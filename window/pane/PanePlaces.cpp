// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/PanePlaces.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "window/pane/RichTextPane.h"

namespace corvella::PanePlaces {

namespace {
// Lays the paragraph out when it is not yet, so that its lines are those the view will show.
void layOut(const QTextBlock& block) {
    block.document()->documentLayout()->blockBoundingRect(block);
}
}  // namespace

int LineWithin(const RichTextPane& pane, const QTextBlock& block, int offset) {
    // The text's breaks within the paragraph are its line separators.
    const PaneTextModel& text = pane.shownText();
    const int last = std::max(0, block.length() - 1);
    const qsizetype first = text.lineOf({block.position()});
    const int separators = int(text.lineOf({block.position() + last}) - first);
    // Only a paragraph laid out wrapped counts more lines than its separators part; asking any
    // other for its layout would make one, which a thousand pages of paragraphs cannot afford.
    if (block.lineCount() > separators + 1)
        if (const QTextLayout* layout = block.layout(); layout->lineCount() > 0)
            return layout->lineForTextPosition(std::clamp(offset, 0, last)).lineNumber();
    return int(text.lineOf({block.position() + std::clamp(offset, 0, last)}) - first);
}

int LineOf(const RichTextPane& pane, qsizetype textPosition) {
    const int position = int(pane.toDocument({textPosition}).at);
    const QTextBlock block = pane.document()->findBlock(position);
    layOut(block);
    return block.firstLineNumber() + LineWithin(pane, block, position - block.position());
}

qsizetype LineStart(const RichTextPane& pane, int line) {
    const QTextDocument& document = *pane.document();
    const QTextBlock block = document.findBlockByLineNumber(std::max(0, line));
    if (!block.isValid()) return pane.toText({document.characterCount() - 1}).at;
    int start = block.position();
    const int within = line - block.firstLineNumber();
    if (within <= 0) return pane.toText({start}).at;
    layOut(block);
    if (const QTextLayout* layout = block.layout(); within < layout->lineCount())
        start += layout->lineAt(within).textStart();
    return pane.toText({start}).at;
}

void LayOutAround(const RichTextPane& pane, qsizetype textPosition, int linesAbove,
                  int linesBelow) {
    const QTextDocument& document = *pane.document();
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    auto lines = [&](const QTextBlock& block) {
        layout->blockBoundingRect(block);  // lays the paragraph out when it is not yet
        return std::max(1, block.lineCount());
    };
    const int position = int(pane.toDocument({textPosition}).at);
    const QTextBlock at = document.findBlock(position);
    const int count = lines(at);
    const int within = LineWithin(pane, at, position - at.position());
    int above = within;
    for (QTextBlock block = at.previous(); block.isValid() && above < linesAbove;
         block = block.previous())
        above += lines(block);
    int below = count - within - 1;
    for (QTextBlock block = at.next(); block.isValid() && below < linesBelow; block = block.next())
        below += lines(block);
}

ViewLines::ViewLines(const RichTextPane& pane) : pane_(pane), sweep_(pane.shownText()) {
    enter(pane.document()->begin());
}

void ViewLines::enter(const QTextBlock& block) {
    block_ = block;
    const PaneTextModel& text = pane_.shownText();
    firstTextLine_ = text.lineOf({block.position()});
    const qsizetype separators =
        text.lineOf({block.position() + std::max(0, block.length() - 1)}) - firstTextLine_;
    wrapped_ = block.lineCount() > separators + 1;
}

int ViewLines::lineOf(qsizetype textPosition) {
    const int position = int(sweep_.to({textPosition}).at);
    for (QTextBlock next = block_.next(); next.isValid() && next.position() <= position;
         next = block_.next()) {
        firstLine_ += block_.lineCount();
        enter(next);
    }
    // A paragraph laid out wrapped asks its layout; any other counts the text's lines.
    if (wrapped_) return firstLine_ + LineWithin(pane_, block_, position - block_.position());
    return firstLine_ + int(sweep_.line() - firstTextLine_);
}

void CountLines(RichTextPane& pane, int firstBlock) {
    QTextDocument* doc = pane.document();
    QTextBlock block = doc->findBlockByNumber(std::max(0, firstBlock));
    // The breaks within a paragraph are its line separators; the one at its end is its own.
    const std::vector<int>& breaks = pane.shownText().breaks();
    auto next = std::lower_bound(breaks.begin(), breaks.end(), block.position());
    for (; block.isValid(); block = block.next()) {
        const int end = block.position() + block.length() - 1;
        const auto after = std::lower_bound(next, breaks.end(), end);
        const int lines = int(after - next) + 1;
        next = after != breaks.end() && *after == end ? std::next(after) : after;
        // A paragraph laid out may count more lines, wrapped, but never fewer.
        if (block.lineCount() < lines) block.setLineCount(lines);
    }
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    emit layout->documentSizeChanged(layout->documentSize());
}

}  // namespace corvella::PanePlaces
