// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/main/HomePage.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QTime>
#include <cmath>

#include "core/BuildConfig.h"
#include "core/ErrorReport.h"

namespace corvella {

void ClockSeededRandom::seedFromClock() {
    state_ = quint32(QTime::currentTime().msecsSinceStartOfDay());
}

double ClockSeededRandom::next() {
    QRandomGenerator generator(state_);
    state_ = generator.generate();
    return generator.generateDouble();
}

void XdgLauncher::openUrl(const QString& address) {
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {address}))
        throw Failure(QStringLiteral("xdg-open could not be started"));
}

void OpenHomePageOccasionally(RandomSource& random, Launcher& launcher) {
    random.seedFromClock();
    const int n = int(std::floor(random.next() * 100)) + 1;
    if (n == 7) launcher.openUrl(QString::fromUtf8(build::kHomePage));
}

}  // namespace corvella
