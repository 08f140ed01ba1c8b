// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/TestPdfs.h"

#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace corvella::testing::TestPdfs {

bool WriteTextPdf(const QString& path, const QStringList& pages) {
    QPdfWriter writer(path);
    writer.setResolution(72);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    for (qsizetype page = 0; page < pages.size(); ++page) {
        if (page > 0) writer.newPage();
        int y = 40;
        for (const QString& line : pages[page].split(u'\n')) {
            painter.drawText(40, y, line);
            y += 18;
        }
    }
    return painter.end();
}

bool WriteImageOnlyPdf(const QString& path) {
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter imagePainter(&image);
        imagePainter.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
        imagePainter.drawText(10, 50, QStringLiteral("Scanned words"));
    }
    QPdfWriter writer(path);
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    painter.drawImage(QRect(0, 0, 4000, 1000), image);
    return painter.end();
}

bool Encrypt(const QString& input, const QString& output, const QString& userPassword,
             bool allowExtract) {
    QStringList arguments{QStringLiteral("--encrypt"), userPassword, QStringLiteral("owner-secret"),
                          QStringLiteral("256")};
    if (!allowExtract) arguments << QStringLiteral("--extract=n");
    arguments << QStringLiteral("--") << input << output;
    return QProcess::execute(QStringLiteral("qpdf"), arguments) == 0;
}

bool PrintHtml(const QString& html, const QString& path) {
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    QTemporaryDir work;
    QFile page(work.filePath(QStringLiteral("page.html")));
    if (chromium.isEmpty() || !page.open(QIODevice::WriteOnly)) return false;
    page.write(html.toUtf8());
    page.close();
    QFile::remove(path);
    QProcess browser;
    browser.setStandardOutputFile(QProcess::nullDevice());
    browser.setStandardErrorFile(QProcess::nullDevice());
    browser.start(
        chromium,
        {QStringLiteral("--headless"), QStringLiteral("--no-sandbox"),
         QStringLiteral("--disable-gpu"), QStringLiteral("--no-pdf-header-footer"),
         QStringLiteral("--user-data-dir=") + work.filePath(QStringLiteral("profile")),
         QStringLiteral("--print-to-pdf=") + path, QStringLiteral("file://") + page.fileName()});
    browser.waitForFinished(120000);
    return QFile::exists(path);
}

}  // namespace corvella::testing::TestPdfs
