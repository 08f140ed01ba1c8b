#pragma once

#include <chrono>

namespace corvella {

// Lets the window handle pending events (repaints, clicks) during a long command.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

class QtEventPump : public EventPump {
public:
    void processEvents() override;
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
        pump_.processEvents();
        last_ = Clock::now();
    }

private:
    using Clock = std::chrono::steady_clock;
    EventPump& pump_;
    std::chrono::milliseconds slice_;
    Clock::time_point last_;
};

}  // namespace corvella
