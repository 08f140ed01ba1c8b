// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <optional>
#include <vector>

#include "core/TextRange.h"

namespace corvella {

class RichTextPane;

// What the review paints over a text pane without changing its text, colours, selection or
// caret: the runs that only moved, and the other side of the difference walked to in the other
// pane. Both are extra selections of the view, which the document's formats never see.
class PaneOverlay {
public:
    // Moved runs: blue on a pale blue ground (not a text colour of the commands).
    static inline const QColor kMovedText{0x00, 0x55, 0xCC};
    static inline const QColor kMovedGround{0xE3, 0xED, 0xFB};
    // The other side: an amber ground; for text that only one side has, the whole line of the
    // place where it would stand.
    static inline const QColor kOtherSideGround{0xFF, 0xD8, 0x5C};

    explicit PaneOverlay(RichTextPane& pane) : pane_(pane) {}

    // Text ranges in the pane's text (CR LF breaks).
    void setMoves(std::vector<TextRange> moves);
    void setOtherSide(std::optional<TextRange> place);
    void clear();

    const std::vector<TextRange>& moves() const { return moves_; }
    const std::optional<TextRange>& otherSide() const { return otherSide_; }

private:
    void apply();

    RichTextPane& pane_;
    std::vector<TextRange> moves_;
    std::optional<TextRange> otherSide_;
};

}  // namespace corvella
