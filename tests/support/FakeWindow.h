// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "display/MemoryWindow.h"
#include "tests/support/CountingPump.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestServices.h"

namespace corvella::testing {

// Constructed before the window, which keeps a reference to its services.
struct FakeWindowServices {
    TestServices all;
};

// The window in memory with panes that can be told to fail, scripted services and a pointer log.
// Used where a test must make a pane fail; everything else is tested on the real window.
class FakeWindow : public FakeWindowServices, public MemoryWindowOf<MemoryPane> {
public:
    FakeWindow() : MemoryWindowOf<MemoryPane>(all.services), dialogs(all.dialogs), pump(all.pump) {}

    void setPointer(PointerShape shape) override {
        MemoryWindowOf<MemoryPane>::setPointer(shape);
        pointerLog.push_back(shape);
    }

    MemoryPane& memoryPane(int number) { return panes[size_t(number - 1)]; }

    ScriptedDialogs& dialogs;
    CountingPump& pump;
    std::vector<PointerShape> pointerLog;
};

}  // namespace corvella::testing
