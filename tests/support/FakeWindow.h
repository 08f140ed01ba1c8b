#pragma once

#include <array>
#include <vector>

#include "compare/ShowRTF.h"
#include "core/MainWindow.h"
#include "tests/support/CountingPump.h"
#include "tests/support/MemoryPane.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/support/TestServices.h"

namespace corvella::testing {

// A main window without widgets: memory panes, option groups and a pointer log. Used where a test
// must make a pane fail; everything else is tested on the real window.
class FakeWindow : public MainWindow {
public:
    FakeWindow() : dialogs(all.dialogs), pump(all.pump) {}

    PaneDocument& pane(int number) override { return panes[size_t(number - 1)]; }
    bool isOptionSelected(int number) const override { return options[size_t(number - 1)]; }
    void selectOption(int number) override {
        const size_t first = number <= 2 ? 0 : 2;  // Option1/Option2 and Option3/Option4
        options[first] = options[first + 1] = false;
        options[size_t(number - 1)] = true;
        if (number <= 2) ShowRTF(*this);
    }
    PointerShape pointer() const override { return pointer_; }
    void setPointer(PointerShape shape) override {
        pointer_ = shape;
        pointerLog.push_back(shape);
    }
    Services& services() override { return all.services; }

    MemoryPane& memoryPane(int number) { return panes[size_t(number - 1)]; }

    TestServices all;
    ScriptedDialogs& dialogs;
    CountingPump& pump;
    std::array<MemoryPane, 4> panes;
    std::array<bool, 4> options{true, false, true, false};
    std::vector<PointerShape> pointerLog;

private:
    PointerShape pointer_ = PointerShape::Default;
};

}  // namespace corvella::testing
