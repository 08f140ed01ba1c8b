// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

// Every test program runs real widgets on the offscreen platform, with its own temp, home and
// configuration folders, so that no test touches the real user's files or settings.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir sandbox;
    if (!sandbox.isValid()) return 2;
    for (const char* name : {"TEMP", "HOME", "XDG_CONFIG_HOME"}) {
        const QString folder = sandbox.filePath(QString::fromLatin1(name).toLower());
        QDir().mkpath(folder);
        qputenv(name, QFile::encodeName(folder));
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
