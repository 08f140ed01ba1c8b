// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/MainWindow.h"

namespace corvella {

// "Load Sample PDF File (#1)" and "(#2)": append a fixed seven-line text to pane 1 or pane 2.
// The two samples differ in their fourth and sixth lines.
void PushButton8_Click(MainWindow& window);
void PushButton9_Click(MainWindow& window);

}  // namespace corvella
