// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EventPump.h"
#include "core/PaneDocument.h"

// The line comparison exactly as its steps read: a linear scan of the other pane for every piece,
// a yield for every pair compared, a fresh search of the whole text for every occurrence, and the
// work pane rewritten for every differing piece. Slow on purpose; it is the reference the fast
// comparison is checked against.
namespace corvella::testing::Literal {

void FindDifferences(PaneDocument& own, PaneDocument& other, PaneDocument& work, EventPump& events);
void ColorRedByString(PaneDocument& pane, const QString& searchText, EventPump& events);

}  // namespace corvella::testing::Literal
