// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/MainWindow.h"
#include "diff/Comparison.h"

namespace corvella {

// "Find Differences (Ignoring Layout)": compares the texts of panes 1 and 2 as words in reading
// order without page furniture, colours the differing words red, lists each run with its page and
// line in work panes 3 and 4 and applies the display mode. `result`, when given, receives the
// comparison.
void FindDifferencesIgnoringLayout(MainWindow& window, Comparison* result = nullptr);

// A work pane's entry for a run: "p12:l4 " and the run's words.
QString LayoutEntry(const Difference& run, const QString& words);

}  // namespace corvella
