// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTextBlock>
#include <QtGlobal>

#include "window/pane/PaneTextModel.h"

namespace corvella {
class RichTextPane;
}

namespace corvella::PanePlaces {

// The view's lines of a pane (a wrapped line is several), as the vertical scroll bar of a
// plain-text view counts them, against positions in the pane's text. The pane's text model maps
// the positions; a paragraph not laid out yet counts the lines its line separators part.

// The line within a paragraph that holds an offset in it: as laid out, or as its line separators
// part it while it is not laid out (or laid out unwrapped).
int LineWithin(const RichTextPane& pane, const QTextBlock& block, int offset);
// The view line holding a text position.
int LineOf(const RichTextPane& pane, qsizetype textPosition);
// The text position where a view line starts.
qsizetype LineStart(const RichTextPane& pane, int line);

// Lays out the paragraphs from `linesAbove` view lines above the text position to `linesBelow`
// below it, so that their lines count as the view will show them.
void LayOutAround(const RichTextPane& pane, qsizetype textPosition, int linesAbove, int linesBelow);

// The view lines of ascending text positions, in one sweep over the paragraphs and the lines.
class ViewLines {
public:
    explicit ViewLines(const RichTextPane& pane);
    int lineOf(qsizetype textPosition);

private:
    const RichTextPane& pane_;
    PaneTextModel::Sweep sweep_;
    QTextBlock block_;
    int firstLine_ = 0;            // the block's first view line
    qsizetype firstTextLine_ = 0;  // and its first line of the text
    bool wrapped_ = false;         // laid out on more lines than its separators part
    void enter(const QTextBlock& block);
};

// Makes each paragraph from `firstBlock` on that is not laid out count the lines its separators
// part, and has the view take the new count.
void CountLines(RichTextPane& pane, int firstBlock);

}  // namespace corvella::PanePlaces
