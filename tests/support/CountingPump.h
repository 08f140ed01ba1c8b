// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QCoreApplication>
#include <functional>

#include "core/EventPump.h"

namespace corvella::testing {

// Counts the yields to the event loop, optionally runs a hook in them, and processes real events.
class CountingPump : public EventPump {
public:
    void processEvents() override {
        ++count;
        if (hook) hook();
        QCoreApplication::processEvents();
    }

    int count = 0;
    std::function<void()> hook;
};

}  // namespace corvella::testing
