// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "tests/support/TestPdfs.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>

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

}  // namespace corvella::testing::TestPdfs
