// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/LiteralLineCompare.h"

#include <QStringList>

namespace corvella::testing::Literal {

namespace {
// Cutting at every CR; an empty text gives no pieces at all.
QStringList cut(const QString& text) {
    if (text.isEmpty()) return {};
    return text.split(u'\r');
}

// VB's InStr: 1-based start and result, 0 when not found or when the start lies past the end.
qsizetype inStr(qsizetype start, const QString& text, const QString& searchText) {
    if (start > text.size()) return 0;
    const qsizetype at = text.indexOf(searchText, start - 1);
    return at < 0 ? 0 : at + 1;
}
}  // namespace

void ColorRedByString(PaneDocument& pane, const QString& searchText, EventPump& events) {
    qsizetype p = inStr(1, pane.text(), searchText);
    while (p != 0) {
        events.processEvents();
        pane.setSelStart(p - 1);
        pane.setSelLength(searchText.size());
        pane.setSelColor(kRed);
        p = inStr(p + 2, pane.text(), searchText);
    }
}

void FindDifferences(PaneDocument& own, PaneDocument& other, PaneDocument& work,
                     EventPump& events) {
    const QStringList ownPieces = cut(own.text());
    const QStringList otherPieces = cut(other.text());
    work.setText(QString());
    for (qsizetype i = 0; i < ownPieces.size(); ++i) {
        bool found = false;
        for (qsizetype j = 0; j < otherPieces.size(); ++j) {
            events.processEvents();
            if (ownPieces[i] == otherPieces[j]) {
                found = true;
                break;
            }
        }
        if (!found) {
            ColorRedByString(own, ownPieces[i] + u'\r', events);
            work.setText(work.text() + ownPieces[i] + u'\r');
        }
    }
}

}  // namespace corvella::testing::Literal
