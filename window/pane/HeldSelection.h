// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QTextCursor>
#include <optional>

#include "core/TextRange.h"

class QPlainTextEdit;

namespace corvella {

// The selection of a text view that, like a rich-text box hiding its selection, shows only a caret
// while it has no focus: the selection is held aside meanwhile and shown again with the focus, so
// no highlight stands in an idle pane. Also keeps the selection last set in text positions, which
// stays what the view's selection reads as while the widget's cursor has not moved.
class HeldSelection {
public:
    explicit HeldSelection(QPlainTextEdit& view) : view_(view) {}

    // The selection, held aside or shown.
    QTextCursor current() const;
    void set(const QTextCursor& cursor);

    void focusIn();
    void focusOut(Qt::FocusReason reason);

    // The selection set in text positions, as it landed in the document, for a text of the given
    // revision; and whether it is still the selection of that text.
    void record(TextRange range, const QTextCursor& landed, quint64 revision);
    std::optional<TextRange> recorded(quint64 revision) const;
    // Forgets the recorded selection.
    void forget() { recorded_ = {}; }
    // The recorded selection follows a cursor that shows the same range turned round.
    void turned(const QTextCursor& cursor);

private:
    bool widgetShowsHeldCaret() const;
    void showKeepingView(const QTextCursor& cursor);

    QPlainTextEdit& view_;
    bool hidden_ = true;
    // While hidden: the selection, and the caret the widget shows in its place. Both are document
    // cursors, so edits move them as they move the widget's own.
    QTextCursor held_;
    QTextCursor heldCaret_;
    struct Recorded {
        TextRange range;
        int anchor = -1;
        int position = -1;
        quint64 revision = 0;  // an edit can move breaks without moving the widget's cursor
    } recorded_;
};

}  // namespace corvella
