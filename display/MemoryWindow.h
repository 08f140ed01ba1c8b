// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>

#include "core/MainWindow.h"
#include "core/MemoryDocument.h"

namespace corvella {

// Selects option `number` of its group (Option1/Option2, Option3/Option4) and, for a display
// mode, applies it as its click does; an option already selected stays as it is.
void SelectOption(MainWindow& window, std::array<bool, 4>& options, int number);

// The main window's state without any widget: four panes in memory (MemoryDocument or a kind of
// it), the two option groups and the pointer. The commands run on it exactly as on the real
// window: corvella-diff loads its files into it, and tests drive the commands with it.
template <typename Pane = MemoryDocument>
class MemoryWindowOf : public MainWindow {
public:
    explicit MemoryWindowOf(Services& services) : services_(&services) {}

    PaneDocument& pane(int number) override { return panes.at(size_t(number - 1)); }
    bool isOptionSelected(int number) const override { return options.at(size_t(number - 1)); }
    void selectOption(int number) override { SelectOption(*this, options, number); }
    PointerShape pointer() const override { return pointer_; }
    void setPointer(PointerShape shape) override { pointer_ = shape; }
    Services& services() override { return *services_; }

    std::array<Pane, 4> panes;
    std::array<bool, 4> options{true, false, true, false};

private:
    Services* services_;
    PointerShape pointer_ = PointerShape::Default;
};

using MemoryWindow = MemoryWindowOf<>;

}  // namespace corvella
