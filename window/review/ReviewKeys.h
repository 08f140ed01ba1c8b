// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "core/MainWindow.h"
#include "window/pane/RichTextPane.h"
#include "window/review/DifferenceNavigation.h"

class QAction;
class QMenu;

namespace corvella {

// The keys that walk the differences of a focused pane: Alt+Down or F8 to the next one, Alt+Up or
// Shift+F8 to the previous one; the same two entries end each pane's context menu. After a
// comparison each text pane shows its first difference near the top.
class ReviewKeys : public QObject {
    Q_OBJECT
public:
    ReviewKeys(MainWindow& window, const std::array<RichTextPane*, 4>& panes,
               const ShownComparison& shown, QObject* parent);

    // Call when a comparison has ended; the selections it left stay as they are.
    void comparisonEnded();

    // The entries of a pane, next first.
    QAction* action(int pane, Direction direction) const;

    // Adds a command of the window to the context menu of the pane, before the two entries.
    void offerInMenu(int pane, QAction* command);

    // The pane's context menu at `position` (viewport coordinates): the editor's own entries, the
    // commands offered for the pane, then next and previous difference. The caller owns it.
    QMenu* menu(int pane, const QPoint& position) const;

    // Goes to a place of the pane as the keys go to a difference.
    void goTo(int pane, TextRange place);
    // Told of every place gone to, by the keys or goTo.
    void setOnWent(std::function<void(int pane, TextRange place)> onWent) {
        onWent_ = std::move(onWent);
    }
    // Lets the window add its own entries to a pane's menu, before the two entries.
    using MenuAddition =
        std::function<void(int pane, const QPoint& position, QMenu& menu, QAction* before)>;
    void setMenuAddition(MenuAddition addition) { menuAddition_ = std::move(addition); }

    const DifferenceReview& review() const { return review_; }

private:
    void go(int pane, Direction direction);
    void shown(int pane, TextRange place);

    MainWindow& window_;
    ByPane<RichTextPane*> panes_;
    ByPane<std::array<QAction*, 2>> actions_{};
    ByPane<QList<QAction*>> offered_;
    DifferenceReview review_;
    std::function<void(int, TextRange)> onWent_;
    MenuAddition menuAddition_;
};

}  // namespace corvella
