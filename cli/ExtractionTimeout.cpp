// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ExtractionTimeout.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/LoadCancel.h"

namespace corvella::DiffProgram {

namespace {
double secondsOf(const QString& text, bool* ok) { return text.trimmed().toDouble(ok); }
}  // namespace

QString TimeoutProblem(const QString& seconds) {
    bool ok = false;
    const double value = secondsOf(seconds, &ok);
    if (ok && std::isfinite(value) && value > 0) return QString();
    return QStringLiteral("invalid timeout '%1': give seconds, a number greater than 0")
        .arg(seconds);
}

ExtractionDeadline::ExtractionDeadline(const QString& seconds) {
    bool ok = false;
    const double milliseconds = std::ceil(secondsOf(seconds, &ok) * 1000);
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    // The extractor waits turn the event loop, so the timer fires while they wait.
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        passed_ = true;
        LoadCancel::Request();
    });
    timer_.start(int(std::min<double>(milliseconds, INT_MAX)));
}

}  // namespace corvella::DiffProgram
