// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/reviewer/ReviewDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace corvella {

QString QtReviewDialogs::saveFileName(const QString& title, const QString& suggested,
                                      const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, title, suggested, filter);
}

QString QtReviewDialogs::folder(const QString& title) {
    return QFileDialog::getExistingDirectory(parent_, title);
}

void QtReviewDialogs::tell(const QString& title, const QString& text) {
    QMessageBox::information(parent_, title, text);
}

}  // namespace corvella
