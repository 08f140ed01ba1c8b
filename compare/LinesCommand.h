// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/MainWindow.h"
#include "diff/Comparison.h"

namespace corvella {

// "Find Differences (Lines)": colours the lines of each pane that have no equal line in the other
// pane, lists them in the work panes and applies the display mode. `result`, when given,
// receives the lines listed.
void PushButton1_Click(MainWindow& window, Comparison* result = nullptr);

}  // namespace corvella
