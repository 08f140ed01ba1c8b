// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRandomGenerator>
#include <QString>

#include "core/PaneDocument.h"
#include "diff/Comparison.h"

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

// The maximal runs of characters of the colour, in text order, read character by character.
inline std::vector<TextRange> RunsOfColor(const PaneDocument& pane, Color color) {
    std::vector<TextRange> runs;
    for (qsizetype i = 0, length = pane.textLength(); i < length; ++i) {
        if (pane.colorAt(i) != color) continue;
        if (!runs.empty() && runs.back().start + runs.back().length == i)
            ++runs.back().length;
        else
            runs.push_back({i, 1});
    }
    return runs;
}

// The same for what a comparison says it marked in the text: the marks of its differences.
inline QString MarkedMask(const QString& text, const ComparedSide& side) {
    std::vector<bool> marked(size_t(text.size()), false);
    for (const TextRange& mark : side.differenceMarks())
        for (qsizetype i = mark.start; i < mark.start + mark.length && i < text.size(); ++i)
            marked[size_t(i)] = true;
    QString mask;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] != u'\r' && text[i] != u'\n') mask += marked[size_t(i)] ? u'^' : u'.';
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
