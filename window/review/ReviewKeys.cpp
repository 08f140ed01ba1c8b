// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/review/ReviewKeys.h"

#include <QAction>
#include <QMenu>

namespace corvella {

ReviewKeys::ReviewKeys(MainWindow& window, const std::array<RichTextPane*, 4>& panes,
                       const ShownComparison& shown, QObject* parent)
    : QObject(parent), window_(window), panes_{panes}, review_(shown) {
    for (int number = 1; number <= 4; ++number) {
        RichTextPane* pane = panes_[number];
        auto add = [&](Direction direction, const QString& text, const QList<QKeySequence>& keys) {
            auto* action = new QAction(text, pane);
            action->setShortcuts(keys);
            // Only the focused pane answers its keys.
            action->setShortcutContext(Qt::WidgetShortcut);
            connect(action, &QAction::triggered, this,
                    [this, number, direction] { go(number, direction); });
            pane->addAction(action);
            actions_[number][direction == Direction::Next ? 0 : 1] = action;
        };
        add(Direction::Next, QStringLiteral("Next Difference"),
            {QKeySequence(Qt::ALT | Qt::Key_Down), QKeySequence(Qt::Key_F8)});
        add(Direction::Previous, QStringLiteral("Previous Difference"),
            {QKeySequence(Qt::ALT | Qt::Key_Up), QKeySequence(Qt::SHIFT | Qt::Key_F8)});
        pane->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(pane, &QWidget::customContextMenuRequested, this,
                [this, number, pane](const QPoint& position) {
                    QMenu* shown = menu(number, position);
                    shown->setAttribute(Qt::WA_DeleteOnClose);
                    shown->popup(pane->viewport()->mapToGlobal(position));
                });
    }
}

QAction* ReviewKeys::action(int pane, Direction direction) const {
    return actions_[pane][direction == Direction::Next ? 0 : 1];
}

void ReviewKeys::comparisonEnded() {
    if (!window_.ComparisonDone) return;
    const BySide<std::optional<TextRange>> first = review_.comparisonEnded(window_);
    for (const Side side : kBothSides)
        if (first[side]) panes_[TextPaneOf(side)]->showNearTop(first[side]->start);
}

void ReviewKeys::go(int pane, Direction direction) {
    if (const std::optional<TextRange> target = review_.go(window_, pane, direction))
        shown(pane, *target);
}

void ReviewKeys::goTo(int pane, TextRange place) {
    review_.select(window_, pane, place);
    shown(pane, place);
}

void ReviewKeys::shown(int pane, TextRange place) {
    panes_[pane]->caretToSelectionStart();
    panes_[pane]->bringIntoView(place.start);
    if (onWent_) onWent_(pane, place);
}

void ReviewKeys::offerInMenu(int pane, QAction* command) { offered_[pane] << command; }

QMenu* ReviewKeys::menu(int pane, const QPoint& position) const {
    QMenu* menu = panes_[pane]->createStandardContextMenu(position);
    menu->addSeparator();
    menu->addActions(offered_[pane]);
    menu->addAction(action(pane, Direction::Next));
    menu->addAction(action(pane, Direction::Previous));
    if (menuAddition_) menuAddition_(pane, position, *menu, action(pane, Direction::Next));
    return menu;
}

}  // namespace corvella
