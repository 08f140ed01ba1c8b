// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/ScrollLink.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <algorithm>

#include "core/PaneDocument.h"
#include "window/pane/PanePlaces.h"
#include "window/pane/RichTextPane.h"

namespace corvella {

ScrollLink::ScrollLink(Pane pane1, Pane pane2, QObject* parent)
    : QObject(parent), panes_{pane1, pane2} {
    for (int number = 1; number <= 2; ++number) {
        RichTextPane* view = panes_[size_t(number - 1)].view;
        // The view scrolls with its bar's signals blocked when the caret takes it along; every
        // scroll repaints it, so a repaint tells of those too.
        auto moved = [this, number, bar = view->verticalScrollBar()] {
            if (bar->value() == values_[size_t(number - 1)]) return;
            values_[size_t(number - 1)] = bar->value();
            follow(number);
        };
        connect(view->verticalScrollBar(), &QScrollBar::valueChanged, this, moved);
        connect(view, &QPlainTextEdit::updateRequest, this, moved);
        // A follower kept at its bottom stays there while its lines are laid out.
        connect(view->verticalScrollBar(), &QScrollBar::rangeChanged, this,
                [this, number](int, int maximum) {
                    if (linked_ && following_ && followed_[size_t(number - 1)] &&
                        atBottom_[size_t(number - 1)])
                        scrollFollower(number, maximum, true);
                });
        for (QObject* watched :
             {static_cast<QObject*>(view), static_cast<QObject*>(view->viewport()),
              static_cast<QObject*>(view->verticalScrollBar())}) {
            watched->installEventFilter(this);
            inputs_[size_t(number - 1)] << watched;
        }
    }
}

bool ScrollLink::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::MouseButtonPress:
        case QEvent::Wheel:
            for (size_t i = 0; i < 2; ++i)
                if (inputs_[i].contains(watched)) followed_[i] = atBottom_[i] = false;

            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void ScrollLink::link(Alignment alignment) {
    alignment_ = std::move(alignment);
    for (size_t i = 0; i < 2; ++i) revisions_[i] = panes_[i].text->textRevision();
    linked_ = true;
    following_ = true;
    followed_ = {false, false};
    for (size_t i = 0; i < 2; ++i) values_[i] = panes_[i].view->verticalScrollBar()->value();
}

void ScrollLink::drop() {
    linked_ = false;
    alignment_ = {};
}

bool ScrollLink::ready() const {
    return linked_ && panes_[0].text->textRevision() == revisions_[0] &&
           panes_[1].text->textRevision() == revisions_[1];
}

int ScrollLink::AnchorRow(int value, int maximum, int pageStep) {
    const int half = std::max(0, pageStep / 2);
    // From the top row at the text's start to the middle half a page later; likewise at its end.
    if (value < half) return std::max(0, value);
    if (maximum - value < half) return std::clamp(pageStep - (maximum - value), half, pageStep);
    return half;
}

void ScrollLink::follow(int leader) {
    if (moving_ || followed_[size_t(leader - 1)] || !following_ || !linked_) return;
    if (!ready()) {
        drop();
        return;
    }
    const RichTextPane* view = panes_[size_t(leader - 1)].view;
    const QScrollBar* bar = view->verticalScrollBar();
    const int other = 3 - leader;
    QScrollBar* otherBar = panes_[size_t(other - 1)].view->verticalScrollBar();
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
    placeAtRow(other, alignment_.map(SideOfPane(leader), position), row);
}

void ScrollLink::showAtSameHeight(int to, qsizetype toPosition, qsizetype fromPosition) {
    const RichTextPane* view = panes_[size_t(2 - to)].view;
    PanePlaces::LayOutAround(*view,
                             PanePlaces::LineStart(*view, view->verticalScrollBar()->value()), 0,
                             view->verticalScrollBar()->pageStep());
    const int row =
        std::clamp(PanePlaces::LineOf(*view, fromPosition) - view->verticalScrollBar()->value(), 0,
                   view->verticalScrollBar()->pageStep());
    placeAtRow(to, toPosition, row);
}

void ScrollLink::placeAtRow(int pane, qsizetype position, int row) {
    const RichTextPane* view = panes_[size_t(pane - 1)].view;
    // The lines between the new top and the position count as the view will show them.
    PanePlaces::LayOutAround(*view, position, row, view->verticalScrollBar()->pageStep() - row);
    scrollFollower(pane, PanePlaces::LineOf(*view, position) - row);
}

void ScrollLink::scrollFollower(int pane, int value, bool bottom) {
    atBottom_[size_t(pane - 1)] = bottom;
    QScrollBar* bar = panes_[size_t(pane - 1)].view->verticalScrollBar();
    followed_[size_t(pane - 1)] = true;
    moving_ = true;
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    values_[size_t(pane - 1)] = bar->value();
    moving_ = false;
}

}  // namespace corvella
