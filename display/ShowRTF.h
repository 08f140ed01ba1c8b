// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/MainWindow.h"

namespace corvella {

// Applies the display mode: the two panes with their red marks ("Display All Lines - Highlight
// Differences"), or in their places the work panes that list the differences ("Display Just Lines
// with Differences", once a comparison is done).
void ShowRTF(MainWindow& window);

}  // namespace corvella
