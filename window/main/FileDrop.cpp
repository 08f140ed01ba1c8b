// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/FileDrop.h"

#include <QFileInfo>

#include "extract/GivenFiles.h"

namespace corvella::FileDrop {

namespace {
bool isLoadablePdf(const QUrl& url) {
    if (!url.isLocalFile()) return false;
    const QString path = url.toLocalFile();
    return QFileInfo(path).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0 &&
           UnloadableFileMessage(path).isEmpty();
}
}  // namespace

std::vector<Load> Plan(const QList<QUrl>& urls, bool leftHalf) {
    if (urls.isEmpty() || urls.size() > 2) return {};
    for (const QUrl& url : urls)
        if (!isLoadablePdf(url)) return {};
    if (urls.size() == 1) return {{leftHalf ? 1 : 2, urls[0].toLocalFile()}};
    return {{1, urls[0].toLocalFile()}, {2, urls[1].toLocalFile()}};
}

Qt::DropAction Action(Qt::DropActions possible) {
    if (possible & Qt::CopyAction) return Qt::CopyAction;
    if (possible & Qt::LinkAction) return Qt::LinkAction;
    return Qt::IgnoreAction;
}

}  // namespace corvella::FileDrop
