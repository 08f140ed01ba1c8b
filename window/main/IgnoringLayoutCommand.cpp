// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/IgnoringLayoutCommand.h"

#include <QWidget>

namespace corvella {

QAction* OfferIgnoringLayoutCommand(QWidget& window, std::function<void()> run) {
    auto* action = new QAction(kIgnoringLayoutCaption, &window);
    action->setObjectName(QStringLiteral("FindDifferencesIgnoringLayout"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    action->setShortcutContext(Qt::WindowShortcut);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [run = std::move(run)] { run(); });
    return action;
}

}  // namespace corvella
