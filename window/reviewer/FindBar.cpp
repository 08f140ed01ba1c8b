// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/FindBar.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace corvella {

FindBar::FindBar(QWidget* parent) : QToolBar(QStringLiteral("Find"), parent) {
    setObjectName(QStringLiteral("FindBar"));
    setAccessibleName(QStringLiteral("Find in both texts"));
    setMovable(false);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("FindText"));
    field_->setAccessibleName(QStringLiteral("Words to find"));
    field_->setPlaceholderText(QStringLiteral("Find in both texts"));
    addWidget(field_);
    auto button = [this](const QString& text, const QString& name, bool backward) {
        auto* action = addAction(text);
        action->setObjectName(name);
        widgetForAction(action)->setAccessibleName(text);
        widgetForAction(action)->setFocusPolicy(Qt::TabFocus);
        connect(action, &QAction::triggered, this, [this, backward] { findAgain(backward); });
    };
    button(QStringLiteral("Next"), QStringLiteral("FindNext"), false);
    button(QStringLiteral("Previous"), QStringLiteral("FindPrevious"), true);
    case_ = new QCheckBox(QStringLiteral("Match case"), this);
    case_->setObjectName(QStringLiteral("FindMatchCase"));
    case_->setAccessibleName(QStringLiteral("Match case"));
    addWidget(case_);
    outcome_ = new QLabel(this);
    outcome_->setAccessibleName(QStringLiteral("Find outcome"));
    addWidget(outcome_);
    connect(field_, &QLineEdit::returnPressed, this, [this] { findAgain(false); });
    setVisible(false);
}

void FindBar::open() {
    setVisible(true);
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void FindBar::found(bool any) { outcome_->setText(any ? QString() : QStringLiteral("Not found")); }

void FindBar::findAgain(bool backward) {
    emit find(field_->text(), case_->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive,
              backward);
}

void FindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        setVisible(false);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        findAgain(true);
        return;
    }
    QToolBar::keyPressEvent(event);
}

}  // namespace corvella
