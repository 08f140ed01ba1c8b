// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace corvella {

// The program as assistive technology sees it: the main window is a window (a frame on the
// accessibility bus, not a filler), and a menu shown, such as a pane's context menu, is one of the
// application's children while it is shown, so that a screen reader can reach its entries. Call
// before the application object exists (and again at any time: it installs once).
void InstallWindowAccessibility();

}  // namespace corvella
