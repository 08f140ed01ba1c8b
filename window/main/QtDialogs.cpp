// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/QtDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace corvella {

QString QtDialogs::displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(u'\r', u'\n');
    return shown;
}

MessageAnswer QtDialogs::showMessage(const MessageRequest& request) {
    QMessageBox box(parent_);
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);  // file names and failure texts are never markup
    box.setText(displayText(request.text));
    box.setIcon(request.icon == MessageIcon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon);
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setWindowModality(Qt::ApplicationModal);
    const int result = box.exec();
    if (request.buttons == MessageButtons::YesNo)
        return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

QStringList QtDialogs::getOpenFileNames(const OpenFilesRequest& request) {
    if (request.allowMultiple)
        return QFileDialog::getOpenFileNames(parent_, request.title, QString(), request.filter);
    const QString one =
        QFileDialog::getOpenFileName(parent_, request.title, QString(), request.filter);
    return one.isEmpty() ? QStringList() : QStringList{one};
}

}  // namespace corvella
