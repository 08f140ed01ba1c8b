// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/GivenFiles.h"

#include <QDir>
#include <QFileInfo>

#include "core/Dialogs.h"
#include "extract/LoadCommands.h"

namespace corvella {

QString UnloadableFileMessage(const QString& path) {
    const QFileInfo file(path);
    QString reason;
    if (!file.exists())
        reason = QStringLiteral("there is no such file");
    else if (file.isDir())
        reason = QStringLiteral("it is a folder");
    else if (!file.isReadable())
        reason = QStringLiteral("you have no permission to read it");
    else
        return QString();
    return QStringLiteral("\"%1\" cannot be loaded: %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

void LoadGivenFile(MainWindow& window, int paneNumber, const QString& path) {
    const QString problem = UnloadableFileMessage(path);
    if (!problem.isEmpty()) {
        MsgBox(window.services().dialogs, problem, MessageButtons::Ok, MessageIcon::Warning);
        return;
    }
    LoadChosenFiles(window, paneNumber, {path});
}

void LoadGivenFiles(MainWindow& window, const QStringList& paths) {
    for (qsizetype i = 0; i < paths.size() && i < 2; ++i)
        LoadGivenFile(window, int(i) + 1, paths[i]);
}

}  // namespace corvella
