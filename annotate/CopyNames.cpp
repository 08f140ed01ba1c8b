// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/CopyNames.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace corvella::CopyNames {

namespace {

QString Tagged(const QString& name, const QString& tag) {
    const QFileInfo info(name);
    const QString suffix = info.suffix();
    return info.completeBaseName() + tag + (suffix.isEmpty() ? QString() : u'.' + suffix);
}

// Whether both paths name one existing file, through whatever links.
bool SameFile(const QString& one, const QString& two) {
    struct stat first {};
    struct stat second {};
    return ::stat(QFile::encodeName(one).constData(), &first) == 0 &&
           ::stat(QFile::encodeName(two).constData(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

}  // namespace

BySide<QString> In(const QString& folder, const BySide<QString>& files) {
    const QDir into(folder);
    BySide<QString> names;
    for (const Side side : kBothSides) names[side] = QFileInfo(files[side]).fileName();
    if (names[Side::One] == names[Side::Two])
        for (const Side side : kBothSides)
            names[side] = Tagged(names[side], QStringLiteral("-%1").arg(NumberOf(side)));
    BySide<QString> paths;
    for (const Side side : kBothSides) {
        auto taken = [&](const QString& name) {
            const QString path = into.filePath(name);
            return SameFile(path, files[Side::One]) || SameFile(path, files[Side::Two]) ||
                   (side == Side::Two && path == paths[Side::One]);
        };
        while (taken(names[side])) names[side] = Tagged(names[side], QStringLiteral("-annotated"));
        paths[side] = into.filePath(names[side]);
    }
    return paths;
}

}  // namespace corvella::CopyNames
