#include "extract/PDFToText.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStringList>

#include "app/ErrorReport.h"
#include "app/TempFolder.h"
#include "extract/Deployment.h"
#include "extract/Shell32.h"

namespace corvella::RTB {

namespace {
// Whether the PDF's owner forbids copying its text. The extractor here ignores that permission,
// so it is read from the document information first, and such a PDF gives no text, as one that
// needs a password does.
bool CopyingForbidden(const QString& pdf) {
    QProcess info;
    info.setStandardErrorFile(QProcess::nullDevice());
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000)) {
        info.kill();
        info.waitForFinished();
        return false;
    }
    for (const QByteArray& line : info.readAllStandardOutput().split('\n')) {
        if (line.startsWith("Encrypted:")) return line.contains("copy:no");
    }
    return false;
}
}  // namespace

QString ExtractedTextPath() {
    return TempPath(QStringLiteral("text-") + QString::number(QCoreApplication::applicationPid()) +
                    QStringLiteral(".txt"));
}

void PDFToText(QString& path, Services& services) {
    Procedure proc(services.dialogs, QStringLiteral("RTB.PDFToText"));
    QString extractor;
    QString textPath;
    QStringList arguments;
    proc.step(100, [&] { extractor = Deployment::ExtractorPath(); });
    proc.step(102, [&] {
        textPath = ExtractedTextPath();
        // A text left by an earlier conversion must never pass for this PDF's text.
        QFile::remove(textPath);
        // A relative name starting with "-" would read as an option.
        const QString pdf = path.startsWith(u'-') ? QStringLiteral("./") + path : path;
        arguments = {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, textPath};
    });
    proc.step(104, [&] {
        if (!CopyingForbidden(arguments.at(2)))
            Shell32::RunAndWait(extractor, arguments, 0, services.events);
    });
    proc.step(106, [&] { path = textPath; });
}

}  // namespace corvella::RTB
