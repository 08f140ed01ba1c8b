// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAction>
#include <functional>

class QWidget;

namespace corvella {

inline const QString kIgnoringLayoutCaption = QStringLiteral("Find Differences (Ignoring Layout)");

// Offers "Find Differences (Ignoring Layout)" without a control of its own, so the window's
// layout stays as designed: an action of the window on Ctrl+L, which the window also offers in
// the context menus of panes 1 and 2. Returns the action, owned by the window.
QAction* OfferIgnoringLayoutCommand(QWidget& window, std::function<void()> run);

}  // namespace corvella
