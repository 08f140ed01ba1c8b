// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/PaneOverlay.h"

#include <QPlainTextEdit>
#include <QTextBlock>

#include "window/pane/RichTextPane.h"

namespace corvella {

void PaneOverlay::setMoves(std::vector<TextRange> moves) {
    moves_ = std::move(moves);
    apply();
}

void PaneOverlay::setOtherSide(std::optional<TextRange> place) {
    if (!place && !otherSide_) return;
    otherSide_ = place;
    apply();
}

void PaneOverlay::clear() {
    if (moves_.empty() && !otherSide_) return;
    moves_.clear();
    otherSide_.reset();
    apply();
}

void PaneOverlay::apply() {
    auto select = [&](const TextRange& range) {
        QTextCursor cursor(pane_.document());
        cursor.setPosition(int(pane_.toDocument({range.start}).at));
        cursor.setPosition(int(pane_.toDocument({range.start + range.length}).at),
                           QTextCursor::KeepAnchor);
        return cursor;
    };
    QList<QTextEdit::ExtraSelection> shown;
    for (const TextRange& move : moves_) {
        QTextEdit::ExtraSelection selection{select(move), {}};
        selection.format.setForeground(kMovedText);
        selection.format.setBackground(kMovedGround);
        shown << selection;
    }
    // Drawn last, so it stands over a move it lands on.
    if (otherSide_) {
        QTextEdit::ExtraSelection selection{select(*otherSide_), {}};
        selection.format.setBackground(kOtherSideGround);
        if (otherSide_->length == 0)
            selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        shown << selection;
    }
    pane_.setExtraSelections(shown);
}

}  // namespace corvella
