#pragma once

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

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
    static bool run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
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

    static void removeAllQueues() {
        QString listing;
        run("lpstat", {"-e"}, &listing);
        for (const QString& queue : listing.split('\n', Qt::SkipEmptyParts)) removeQueue(queue);
    }
};

}  // namespace corvella::testing
