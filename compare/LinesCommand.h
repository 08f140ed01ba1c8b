#pragma once

#include "core/MainWindow.h"

namespace corvella {

// "Find Differences (Lines)": colours the lines of each pane that have no equal line in the other
// pane, lists them in the work panes and applies the display mode.
void PushButton1_Click(MainWindow& window);

}  // namespace corvella
