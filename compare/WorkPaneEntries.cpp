// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "compare/WorkPaneEntries.h"

#include "compare/LayoutCommand.h"
#include "core/PaneText.h"

namespace corvella {

std::vector<TextRange> WorkPaneEntries(Method method, const ComparedSide& side) {
    std::vector<TextRange> entries;
    entries.reserve(side.differences.size());
    const qsizetype breakLength = PaneText::kBreak.size();
    qsizetype at = method == Method::Lines ? 0 : breakLength;
    for (size_t i = 0; i < side.differences.size(); ++i) {
        const Difference& difference = side.differences[i];
        // A line or a word is listed as it reads in the pane's text, a run with its place.
        const qsizetype length = method == Method::IgnoringLayout
                                     ? LayoutEntry(difference, side.differenceWords[i]).size()
                                     : difference.span.length;
        entries.push_back({at, length});
        at += length + breakLength;
    }
    return entries;
}

}  // namespace corvella
