// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/HeldSelection.h"

#include <QPlainTextEdit>
#include <QScrollBar>

namespace corvella {

bool HeldSelection::widgetShowsHeldCaret() const {
    const QTextCursor shown = view_.textCursor();
    return !heldCaret_.isNull() && heldCaret_.document() == view_.document() &&
           shown.anchor() == heldCaret_.anchor() && shown.position() == heldCaret_.position();
}

QTextCursor HeldSelection::current() const {
    // A cursor put into the widget while the selection was held aside is the selection from then
    // on.
    return hidden_ && widgetShowsHeldCaret() ? held_ : view_.textCursor();
}

void HeldSelection::set(const QTextCursor& cursor) {
    if (!hidden_) {
        view_.setTextCursor(cursor);
        return;
    }
    held_ = cursor;
    heldCaret_ = cursor;
    heldCaret_.clearSelection();
    view_.setTextCursor(heldCaret_);
}

void HeldSelection::showKeepingView(const QTextCursor& cursor) {
    // Only the highlight changes: the text stays where the user scrolled it.
    const int horizontal = view_.horizontalScrollBar()->value();
    const int vertical = view_.verticalScrollBar()->value();
    view_.setTextCursor(cursor);
    view_.horizontalScrollBar()->setValue(horizontal);
    view_.verticalScrollBar()->setValue(vertical);
}

void HeldSelection::focusIn() {
    if (!hidden_) return;
    hidden_ = false;
    if (widgetShowsHeldCaret()) showKeepingView(held_);
}

void HeldSelection::focusOut(Qt::FocusReason reason) {
    // A context menu of the pane works on the selection, so it stays in view for it.
    if (reason == Qt::PopupFocusReason || hidden_) return;
    held_ = view_.textCursor();
    heldCaret_ = held_;
    heldCaret_.clearSelection();
    showKeepingView(heldCaret_);
    hidden_ = true;
}

void HeldSelection::record(TextRange range, const QTextCursor& landed, quint64 revision) {
    recorded_ = {range, landed.anchor(), landed.position(), revision};
}

std::optional<TextRange> HeldSelection::recorded(quint64 revision) const {
    const QTextCursor cursor = current();
    if (cursor.anchor() != recorded_.anchor || cursor.position() != recorded_.position ||
        recorded_.revision != revision)
        return std::nullopt;
    return recorded_.range;
}

void HeldSelection::turned(const QTextCursor& cursor) {
    recorded_.anchor = cursor.anchor();
    recorded_.position = cursor.position();
}

}  // namespace corvella
