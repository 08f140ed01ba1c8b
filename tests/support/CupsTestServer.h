// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QThread>
#include <algorithm>

namespace corvella::testing {

// The private CUPS server that ctest starts for the printer tests (tools/cups-test-server.sh).
class CupsTestServer {
public:
    // Empty when the tests do not run with that server.
    static QString folder() {
        const QString dir = qEnvironmentVariable("CORVELLA_CUPS_DIR");
        return !dir.isEmpty() && QFile::exists(dir + "/cups.sock") ? dir : QString();
    }

    // Runs a CUPS command line tool against the server; returns its output or an empty string.
    static bool run(const QString& program, const QStringList& arguments,
                    QString* output = nullptr) {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000)) return false;
        if (output) *output = QString::fromUtf8(process.readAllStandardOutput());
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }

    // A cups-pdf queue writing into the server's folder.
    static bool addQueue(const QString& queue, const QString& description) {
        return run(qEnvironmentVariable("CORVELLA_CUPS_SCRIPT"),
                   {"add-queue", folder(), queue, description});
    }
    static bool removeQueue(const QString& queue) { return run("lpadmin", {"-x", queue}); }

    // Ids of the jobs the queue has completed, oldest first.
    static QList<int> completedJobs(const QString& queue) {
        QString listing;
        run("lpstat", {"-W", "completed", "-o", queue}, &listing);
        QList<int> ids;
        for (const QString& line : listing.split('\n', Qt::SkipEmptyParts)) {
            const QString job = line.section(' ', 0, 0);
            ids << job.section('-', -1).toInt();
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    // Waits until the queue has completed `count` jobs and no job is pending; false on timeout.
    static bool waitForCompletedJobs(const QString& queue, int count, int timeoutMs = 60000) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            QString pending;
            run("lpstat", {"-o", queue}, &pending);
            if (pending.trimmed().isEmpty() && completedJobs(queue).size() >= count) return true;
            QThread::msleep(100);
        }
        return false;
    }

    // The document CUPS stored for a job, as it received it.
    static QByteArray storedDocument(int job) {
        QFile file(folder() + QStringLiteral("/spool/d%1-001").arg(job, 5, 10, QLatin1Char('0')));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The PDF cups-pdf wrote for a job.
    static QString pdfOfJob(int job) {
        const QStringList found =
            QDir(folder() + "/out")
                .entryList({QStringLiteral("job_%1-*.pdf").arg(job)}, QDir::Files);
        return found.isEmpty() ? QString() : folder() + "/out/" + found.first();
    }

    static void removeAllQueues() {
        QString listing;
        run("lpstat", {"-e"}, &listing);
        for (const QString& queue : listing.split('\n', Qt::SkipEmptyParts)) removeQueue(queue);
    }
};

}  // namespace corvella::testing
