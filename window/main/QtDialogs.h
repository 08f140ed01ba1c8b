// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Dialogs.h"

class QWidget;

namespace corvella {

// The program's real dialogs: modal QMessageBox and QFileDialog.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    MessageAnswer showMessage(const MessageRequest& request) override;
    QStringList getOpenFileNames(const OpenFilesRequest& request) override;

    // The text as the box displays it: CR LF, CR and LF each become one line break.
    static QString displayText(const QString& text);

private:
    QWidget* parent_;
};

}  // namespace corvella
