#pragma once

#include <array>

#include "core/MainWindow.h"
#include "core/MemoryDocument.h"

namespace corvella {

// The main window's state without any widget: four panes in memory, the two option groups and the
// pointer. The commands run on it exactly as on the real window.
class HeadlessWindow : public MainWindow {
public:
    explicit HeadlessWindow(Services& services) : services_(services) {}

    PaneDocument& pane(int number) override { return panes_.at(size_t(number - 1)); }
    bool isOptionSelected(int number) const override { return options_.at(size_t(number - 1)); }
    // Selecting a display mode applies it, as its click does; the method is not stored.
    void selectOption(int number) override;
    PointerShape pointer() const override { return pointer_; }
    void setPointer(PointerShape shape) override { pointer_ = shape; }
    Services& services() override { return services_; }

private:
    Services& services_;
    std::array<MemoryDocument, 4> panes_;
    std::array<bool, 4> options_{true, false, true, false};
    PointerShape pointer_ = PointerShape::Default;
};

}  // namespace corvella
