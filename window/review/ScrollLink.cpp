// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/ScrollLink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

#include "window/pane/PanePlaces.h"
#include "window/pane/RichTextPane.h"

namespace corvella {

ScrollLink::ScrollLink(BySide<RichTextPane*> panes, QObject* parent)
    : QObject(parent), panes_(panes) {
    for (const Side side : kBothSides) {
        RichTextPane* view = panes_[side];
        // The view scrolls with its bar's signals blocked when the caret takes it along; every
        // scroll repaints it, so a repaint tells of those too.
        auto moved = [this, side, bar = view->verticalScrollBar()] {
            if (bar->value() == values_[side]) return;
            values_[side] = bar->value();
            follow(side);
        };
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, moved);
        connect(view, &QPlainTextEdit::updateRequest, this, moved);
        // A follower kept at its bottom stays there while its lines are laid out.
        connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this,
                [this, side](int, int maximum) {
                    if (linked_ && following_ && followed_[side] && atBottom_[side])
                        scrollFollower(side, maximum, true);
                });
        for (QObject* watched :
             {static_cast<QObject*>(view), static_cast<QObject*>(view->viewport()),
              static_cast<QObject*>(view->verticalScrollBar())}) {
            watched->installEventFilter(this);
            inputs_[side] << watched;
        }
    }
}

bool ScrollLink::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            for (const Side side : kBothSides)
                if (inputs_[side].contains(watched)) followed_[side] = atBottom_[side] = false;
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void ScrollLink::link(std::shared_ptr<const Alignment> alignment) {
    alignment_ = std::move(alignment);
    linked_ = alignment_ != nullptr;
    following_ = true;
    for (const Side side : kBothSides) {
        revisions_[side] = panes_[side]->textRevision();
        followed_[side] = false;
        values_[side] = panes_[side]->verticalScrollBar()->value();
    }
}

void ScrollLink::drop() {
    linked_ = false;
    alignment_.reset();
}

bool ScrollLink::ready() const {
    return linked_ && panes_[Side::One]->textRevision() == revisions_[Side::One] &&
           panes_[Side::Two]->textRevision() == revisions_[Side::Two];
}

int ScrollLink::AnchorRow(int value, int maximum, int pageStep) {
    const int half = std::max(0, pageStep / 2);
    // From the top row at the text's start to the middle half a page later; likewise at its end.
    if (value < half) return std::max(0, value);
    if (maximum - value < half) return std::clamp(pageStep - (maximum - value), half, pageStep);
    return half;
}

void ScrollLink::follow(Side leader) {
    if (moving_ || followed_[leader] || !following_ || !linked_) return;
    if (!ready()) {
        drop();
        return;
    }
    const RichTextPane* view = panes_[leader];
    const QScrollBar* bar = view->verticalScrollBar();
    const Side other = Other(leader);
    QScrollBar* otherBar = panes_[other]->verticalScrollBar();
    // A pane at its top or bottom keeps the other at its own.
    if (bar->value() <= bar->minimum() || bar->value() >= bar->maximum()) {
        scrollFollower(other,
                       bar->value() <= bar->minimum() ? otherBar->minimum() : otherBar->maximum());
        return;
    }
    const int row = AnchorRow(bar->value(), bar->maximum(), bar->pageStep());
    const RichTextPane& own = *view;
    const qsizetype top = PanePlaces::LineStart(own, bar->value());
    PanePlaces::LayOutAround(own, top, 0, bar->pageStep());
    const qsizetype position = PanePlaces::LineStart(own, bar->value() + row);
    placeAtRow(other, alignment_->map(leader, position), row);
}

void ScrollLink::showAtSameHeight(Side to, qsizetype toPosition, qsizetype fromPosition) {
    const RichTextPane* view = panes_[Other(to)];
    PanePlaces::LayOutAround(*view,
                             PanePlaces::LineStart(*view, view->verticalScrollBar()->value()), 0,
                             view->verticalScrollBar()->pageStep());
    const int row =
        std::clamp(PanePlaces::LineOf(*view, fromPosition) - view->verticalScrollBar()->value(), 0,
                   view->verticalScrollBar()->pageStep());
    placeAtRow(to, toPosition, row);
}

void ScrollLink::placeAtRow(Side pane, qsizetype position, int row) {
    const RichTextPane* view = panes_[pane];
    // The lines between the new top and the position count as the view will show them.
    PanePlaces::LayOutAround(*view, position, row, view->verticalScrollBar()->pageStep() - row);
    scrollFollower(pane, PanePlaces::LineOf(*view, position) - row);
}

void ScrollLink::scrollFollower(Side pane, int value, bool bottom) {
    atBottom_[pane] = bottom;
    QScrollBar* bar = panes_[pane]->verticalScrollBar();
    followed_[pane] = true;
    moving_ = true;
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    values_[pane] = bar->value();
    moving_ = false;
}

}  // namespace corvella
