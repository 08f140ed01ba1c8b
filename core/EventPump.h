// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <chrono>
#include <functional>

namespace corvella {

// Lets the window handle pending events (repaints, clicks) during a long command.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
    // Handles events as they come, the window live throughout, until `done` holds or `most` has
    // passed. A pump that cannot wait so handles the pending events once and returns false; the
    // caller then waits by itself.
    virtual bool processEventsUntil(const std::function<bool()>& done,
                                    std::chrono::milliseconds most) {
        static_cast<void>(done);
        static_cast<void>(most);
        processEvents();
        return false;
    }
};

class QtEventPump : public EventPump {
public:
    void processEvents() override;
    bool processEventsUntil(const std::function<bool()>& done,
                            std::chrono::milliseconds most) override;
};

// Runs work that touches nothing of the window on a thread of its own while the pump handles the
// window's events; a pump that cannot wait so simply waits for it.
void RunBesideTheLoop(EventPump& pump, const std::function<void()>& work);

// The event loop's turn between two slices of long work. That turn is the window's, not other
// long work's: a slice of another task run in it would add its length to the wait.
class SliceTurn {
public:
    // Hands the loop its turn between two slices.
    static void Give(EventPump& pump) {
        const SliceTurn turn;
        pump.processEvents();
    }
    // Whether a turn between two slices of other work is running now.
    static bool inside() { return depth() > 0; }

private:
    SliceTurn() { ++depth(); }
    ~SliceTurn() { --depth(); }
    static int& depth() {
        static int turns = 0;
        return turns;
    }
};

// Yields to the event loop only when a time slice has passed since the last yield, so that a long
// loop stays responsive without spending its time in the event loop.
class TimeSlicedYield {
public:
    explicit TimeSlicedYield(EventPump& pump,
                             std::chrono::milliseconds slice = std::chrono::milliseconds(15))
        : pump_(pump), slice_(slice), last_(Clock::now()) {}

    void maybeYield() {
        if (Clock::now() - last_ >= slice_) yieldNow();
    }
    void yieldNow() {
        SliceTurn::Give(pump_);
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    EventPump& pump_;
    std::chrono::milliseconds slice_;
    Clock::time_point last_;
};

}  // namespace corvella
