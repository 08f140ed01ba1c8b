// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "extract/Deployment.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QSysInfo>

#include "core/ChildLifetime.h"
#include "core/ErrorReport.h"
#include "core/Main.h"
#include "core/TempFolder.h"

namespace corvella::Deployment {

QString GetAddressWidth() {
    const QString architecture = QSysInfo::currentCpuArchitecture();
    return architecture.contains(QStringLiteral("64")) || architecture == QStringLiteral("s390x")
               ? QStringLiteral("64")
               : QStringLiteral("32");
}

QString ExtractorPath() {
    return TempPath(QStringLiteral("pdftotext-") +
                    QString::number(QCoreApplication::applicationPid()));
}

QByteArray LoadExtractorBuild(const QString& addressWidth) {
    Q_UNUSED(addressWidth);
    const QString installed = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (installed.isEmpty())
        throw Failure(
            QStringLiteral("The text extractor pdftotext was not found. Install the "
                           "package poppler-utils."));
    QFile file(installed);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    return file.readAll();
}

void SaveBytesToFile(EventPump& events, const QByteArray& bytes, const QString& path) {
    events.processEvents();
    if (Main::FileExists(path)) return;
    QFile file(path);
    // NewOnly creates the name exclusively: a file or link planted meanwhile makes it fail.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) throw Failure(file.errorString());
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString error = file.errorString();
        file.close();
        file.remove();
        throw Failure(error);
    }
}

void DeployExtractor(EventPump& events) {
    const QByteArray bytes = LoadExtractorBuild(GetAddressWidth());
    const QString path = ExtractorPath();
    ChildLifetime::RemoveStaleFiles(TempFolder());
    if (!Main::FileExists(path)) SaveBytesToFile(events, bytes, path);
}

void RemoveExtractor() {
    // Shut-down must not let other event handlers run, so this does not yield first.
    try {
        QFile::remove(ExtractorPath());
    } catch (const Failure&) {
        // The temp folder could not be used; there is nothing of ours to remove.
    }
}

}  // namespace corvella::Deployment
