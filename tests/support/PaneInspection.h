// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRandomGenerator>
#include <QString>

#include "core/PaneDocument.h"

namespace corvella::testing {

// The red characters of a pane, '^' under red and '.' under black characters; line breaks are
// left out since their colour is never seen.
inline QString RedMask(const PaneDocument& pane) {
    const QString text = pane.text();
    QString mask;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') continue;
        mask += pane.colorAt(i) == kRed ? u'^' : u'.';
    }
    return mask;
}

// Colours the same random range red in two panes holding the same text and leaves it selected, as
// an earlier command would.
inline void ScribbleRed(QRandomGenerator& random, PaneDocument& a, PaneDocument& b) {
    const qsizetype length = a.textLength();
    if (length == 0) return;
    const qsizetype start = qsizetype(random.bounded(int(length)));
    const qsizetype count = qsizetype(random.bounded(int(length - start) + 1));
    for (PaneDocument* pane : {&a, &b}) {
        pane->setSelStart(start);
        pane->setSelLength(count);
        pane->setSelColor(kRed);
    }
}

}  // namespace corvella::testing
