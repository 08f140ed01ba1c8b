// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/MainWindow.h"
#include "core/PaneDocument.h"

// "Find Differences (Words)" with the standard method exactly as its steps read: every line's own
// text read afresh from the whole pane text, the whole work pane rewritten for every differing
// word, and every word selected and coloured on its own. Slow on purpose; it is the reference the
// fast comparison is checked against, failures and their reports included.
namespace corvella::testing::Literal {

// Steps 100 to 204 of the command, for a window whose method is the standard one.
void WordComparisonCommand(MainWindow& window);

void FindWordDifferencesInLine(PaneDocument& pane, const QString& otherLine, PaneDocument& work,
                               qsizetype start, qsizetype length);

}  // namespace corvella::testing::Literal
