// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/Startup.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <QWidget>

#include "core/ErrorReport.h"
#include "core/Main.h"
#include "core/MainWindow.h"
#include "core/SettingsStore.h"

namespace corvella {

namespace {

void paintButtonFace(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    widget->setPalette(palette);
}

// A cursor file's hot spot: the first image entry's two 16-bit fields after its colour count.
QPoint hotSpot(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = file.read(14);
    auto word = [&](int at) { return int(quint8(head[at])) | (int(quint8(head[at + 1])) << 8); };
    if (head.size() < 14 || word(2) != 2) return {};  // type 2 is a cursor
    return {word(10), word(12)};
}

}  // namespace

void ApplySkin(QWidget& window, const QString& programFolder) {
    const QString skinFile = QDir(programFolder).filePath(QStringLiteral("x/o.cjs"));
    if (!QFileInfo(skinFile).isFile()) return;
    paintButtonFace(&window);
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (qobject_cast<QRadioButton*>(child) || qobject_cast<QCheckBox*>(child) ||
            qobject_cast<QGroupBox*>(child) || qobject_cast<QLabel*>(child))
            paintButtonFace(child);
    }
    QFile file(skinFile);
    if (!file.open(QIODevice::ReadOnly)) throw Failure(file.errorString());
    window.setStyleSheet(QString::fromUtf8(file.readAll()));
}

std::optional<QCursor> LoadHandPicture(const QString& programFolder) {
    const QString path = QDir(programFolder).filePath(QStringLiteral("HAND-M.CUR"));
    if (!Main::FileExists(path)) return std::nullopt;
    QPixmap picture;
    if (!picture.load(path))
        throw Failure(QStringLiteral("Invalid picture: %1").arg(QDir::toNativeSeparators(path)));
    const QPoint spot = hotSpot(path);
    return QCursor(picture, spot.x(), spot.y());
}

void RestoreComparisonMethod(MainWindow& window, SettingsStore& settings) {
    const QString stored =
        settings.get(kSettingsApplication, kSettingsSection, kComparisonKey, QStringLiteral("1"));
    window.selectOption(stored == QStringLiteral("1") ? 3 : 4);
}

}  // namespace corvella
