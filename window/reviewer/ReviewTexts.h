// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <memory>

#include "core/Side.h"
#include "report/ChangeList.h"
#include "window/pane/RichTextPane.h"
#include "window/review/OverviewMarks.h"
#include "window/review/ScrollLink.h"
#include "window/reviewer/BackgroundWork.h"
#include "window/reviewer/LinkStrip.h"
#include "window/reviewer/PlaceMargin.h"
#include "window/reviewer/Reviewed.h"

class QSplitter;

namespace corvella {

// Both texts side by side, read only: each with its margin of pages and lines and its scroll
// bar's marks, the strip of links between them, scrolling together through the alignment of
// their content. Differences are red, moves blue, and the other side of the change gone to has an
// amber ground.
class ReviewTexts : public QWidget {
public:
    // `events` lets the colouring of a thousand pages yield to the window now and then.
    ReviewTexts(EventPump* events, QWidget* parent);

    void review(std::shared_ptr<const Reviewed> reviewed);
    // The same comparison with its alignment (and the other places of its differences): the
    // texts scroll together from now on.
    void link(std::shared_ptr<const Reviewed> reviewed);
    void clear();

    // Shows a change of the list in both texts, at the same height, selected on each side it has
    // and marked where it would stand on a side without it.
    void goTo(const ChangeList& list, const Change& change);

    // Looks for `text` from the selection on in the text with focus, then the other, round to the
    // start; selects and shows it. False when neither text holds it.
    bool find(const QString& text, Qt::CaseSensitivity caseSensitivity, bool backward);

    // Ctrl+Plus and Ctrl+Minus: a point larger or smaller; Ctrl+0 back to the font at start.
    void zoom(int steps);
    void resetZoom();
    qreal pointSize() const;

    RichTextPane* pane(Side side) const { return panes_[side]; }
    PlaceMargin* margin(Side side) const { return margins_[side]; }
    LinkStrip* strip() const { return strip_; }
    const OverviewMarks& marks(Side side) const { return *marks_[side]; }
    bool linked() const { return link_->ready(); }
    // The marks are being made.
    bool busy() const { return preparing_.running(); }
    QSplitter* splitter() const { return splitter_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    // Where the differences are coloured and the scroll bars marked.
    struct Marks {
        BySide<std::vector<TextRange>> red;
        BySide<OverviewMarks::Places> bar;
        BySide<std::vector<bool>> moved;
    };
    static Marks MarksOf(const Comparison& comparison);
    // Colours the differences; `repaint`: the texts' own colour too, for a new palette.
    void paint(bool repaint = false);
    void overlay(std::optional<BySide<TextRange>> current);

    BySide<RichTextPane*> panes_{};
    BySide<PlaceMargin*> margins_{};
    BySide<OverviewMarks*> marks_{};
    LinkStrip* strip_ = nullptr;
    QSplitter* splitter_ = nullptr;
    ScrollLink* link_ = nullptr;
    std::shared_ptr<const Reviewed> reviewed_;
    std::optional<BySide<TextRange>> current_;  // the other places marked
    BySide<bool> marked_{};                     // which side's place of the current is amber
    BySide<std::vector<TextRange>> redMarks_;
    BackgroundWork preparing_{this};
    qreal basePoints_ = 0;
    Side lastFound_ = Side::One;  // where find goes on when neither text has focus
};

}  // namespace corvella
