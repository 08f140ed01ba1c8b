// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "display/ShowRTF.h"

namespace corvella {

namespace {
void showPanes(MainWindow& window, bool texts) {
    window.pane(1).setShown(texts);
    window.pane(2).setShown(texts);
    window.pane(3).setShown(!texts);
    window.pane(4).setShown(!texts);
}
}  // namespace

void ShowRTF(MainWindow& window) {
    if (window.isOptionSelected(1))
        showPanes(window, true);
    else if (window.isOptionSelected(2))
        showPanes(window, !window.ComparisonDone);
}

}  // namespace corvella
