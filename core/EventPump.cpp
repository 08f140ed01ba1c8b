// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/EventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace corvella {

void QtEventPump::processEvents() { QCoreApplication::processEvents(); }

bool QtEventPump::processEventsUntil(const std::function<bool()>& done,
                                     std::chrono::milliseconds most) {
    const QDeadlineTimer deadline(most);
    // Wakes a loop that has nothing else to handle once the time is up.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(most);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

}  // namespace corvella
