// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/pane/EventLoopTurns.h"

#include <QCoreApplication>
#include <QEvent>

namespace corvella {

EventLoopTurns::EventLoopTurns(std::function<void()> onTurn) : onTurn_(std::move(onTurn)) {}

EventLoopTurns::~EventLoopTurns() { setWatching(false); }

void EventLoopTurns::setWatching(bool watching) {
    if (watching == watching_ || QCoreApplication::instance() == nullptr) return;
    watching_ = watching;
    if (watching)
        QCoreApplication::instance()->installEventFilter(this);
    else
        QCoreApplication::instance()->removeEventFilter(this);
}

bool EventLoopTurns::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MetaCall:
        case QEvent::Timer:
        case QEvent::SockAct:
            if (!inTurn_) {
                inTurn_ = true;
                onTurn_();
                inTurn_ = false;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace corvella
