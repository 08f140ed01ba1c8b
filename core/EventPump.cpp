// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/EventPump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <memory>

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

void RunBesideTheLoop(EventPump& pump, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    const std::unique_ptr<QThread> worker(QThread::create([&] {
        work();
        done = true;
    }));
    // Its end is a queued call in this thread, which wakes a loop waiting for events.
    if (QCoreApplication::instance() != nullptr)
        QObject::connect(
            worker.get(), &QThread::finished, QCoreApplication::instance(), [] {},
            Qt::QueuedConnection);
    worker->start();
    while (!done && pump.processEventsUntil([&] { return done.load(); }, std::chrono::seconds(1))) {
    }
    worker->wait();
}

}  // namespace corvella
