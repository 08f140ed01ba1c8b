// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QToolBar>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace corvella {

// Ctrl+F: a bar that looks for words in both texts, the next or previous place, with or without
// regard to case. Esc closes it.
class FindBar : public QToolBar {
    Q_OBJECT
public:
    explicit FindBar(QWidget* parent);

    // Shows the bar with its field focused and selected.
    void open();
    QLineEdit* field() const { return field_; }
    QCheckBox* matchCase() const { return case_; }
    QLabel* outcome() const { return outcome_; }
    // Asks for the next or previous place of the words in the field.
    void findAgain(bool backward);
    // Tells whether the last search found anything.
    void found(bool any);

signals:
    void find(const QString& text, Qt::CaseSensitivity caseSensitivity, bool backward);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* field_;
    QCheckBox* case_;
    QLabel* outcome_;
};

}  // namespace corvella
