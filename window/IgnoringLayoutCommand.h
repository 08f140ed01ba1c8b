#pragma once

#include <QAction>
#include <QMenu>
#include <functional>

#include "window/RichTextPane.h"

class QWidget;

namespace corvella {

inline const QString kIgnoringLayoutCaption = QStringLiteral("Find Differences (Ignoring Layout)");

// Offers "Find Differences (Ignoring Layout)" without a control of its own, so the window's
// layout stays as designed: an action of the window on Ctrl+L, and an entry at the end of the
// context menus of the given panes. Returns the action, owned by the window.
QAction* OfferIgnoringLayoutCommand(QWidget& window, const std::vector<RichTextPane*>& panes,
                                    std::function<void()> run);

// The pane's own context menu at `position` (viewport coordinates) with the command added.
QMenu* PaneMenuWithCommand(RichTextPane& pane, QAction& command, const QPoint& position);

}  // namespace corvella
