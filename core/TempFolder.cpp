// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/TempFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstring>

#include "core/ErrorReport.h"

namespace corvella {

namespace {

QString baseFolder() {
    for (const char* name : {"TEMP", "TMPDIR"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty()) return value;
    }
    return QStringLiteral("/tmp");
}

[[noreturn]] void refuse(const QString& folder, const QString& why) {
    throw Failure(QStringLiteral("The temp folder %1 cannot be used: %2").arg(folder, why));
}

}  // namespace

QString TempFolder() {
    QString base = baseFolder();
    while (base.size() > 1 && base.endsWith(u'/')) base.chop(1);
    const QString folder = base + QStringLiteral("/corvella-") + QString::number(geteuid());
    const QByteArray path = QFile::encodeName(folder);

    if (mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        refuse(folder, QString::fromLocal8Bit(std::strerror(errno)));

    struct stat info {};
    if (lstat(path.constData(), &info) != 0)
        refuse(folder, QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISLNK(info.st_mode)) refuse(folder, QStringLiteral("it is a symbolic link"));
    if (!S_ISDIR(info.st_mode)) refuse(folder, QStringLiteral("it is not a folder"));
    if (info.st_uid != geteuid()) refuse(folder, QStringLiteral("it belongs to another user"));
    if ((info.st_mode & 0077) != 0) refuse(folder, QStringLiteral("other users can enter it"));
    return folder;
}

QString TempPath(const QString& name) { return TempFolder() + u'/' + name; }

}  // namespace corvella
