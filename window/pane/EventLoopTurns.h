// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>
#include <functional>

namespace corvella {

// Calls back on every event the event loop itself hands out in this thread: posted calls (an
// accessibility client's requests arrive as such), timers and socket activity. Those are delivered
// with no handler of the window below them, so the callback may change a widget's document. Work
// queued behind a long run of such events can use it to go on meanwhile instead of waiting its
// turn.
class EventLoopTurns : public QObject {
public:
    explicit EventLoopTurns(std::function<void()> onTurn);
    ~EventLoopTurns() override;

    void setWatching(bool watching);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onTurn_;
    bool watching_ = false;
    bool inTurn_ = false;
};

}  // namespace corvella
