// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFile>
#include <QList>
#include <QString>

// Stand-ins for the extractor programs that note their pids, and what tests check of them.
namespace corvella::testing {

// A shell script with the commands, executable by its owner only.
inline bool WriteScript(const QString& path, const QString& commands) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("#!/bin/sh\n" + commands.toUtf8()) > 0 &&
           file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                               QFileDevice::ExeOwner);
}

// An extractor that begins its output file (a piece of text), notes its pid and never ends.
inline QString EndlessExtractor(const QString& pidFile) {
    return QStringLiteral(
               "for a; do last=$a; done\n: > \"$last\"\necho $$ >> '%1'\nexec sleep 600\n")
        .arg(pidFile);
}

inline QList<qint64> NotedPids(const QString& pidFile) {
    QFile file(pidFile);
    QList<qint64> pids;
    if (file.open(QIODevice::ReadOnly))
        for (const QByteArray& line : file.readAll().split('\n'))
            if (line.toLongLong() > 0) pids << line.toLongLong();
    return pids;
}

// A process that has ended but was not reaped yet (a zombie) does not run.
inline bool IsRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray fields = stat.readAll();
    const qsizetype close = fields.lastIndexOf(')');
    return close > 0 && fields.size() > close + 2 && fields[close + 2] != 'Z';
}

}  // namespace corvella::testing
