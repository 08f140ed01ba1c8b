// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "display/MemoryWindow.h"

#include "display/ShowRTF.h"

namespace corvella {

void SelectOption(MainWindow& window, std::array<bool, 4>& options, int number) {
    const size_t index = size_t(number - 1);
    if (options.at(index)) return;
    const size_t first = number <= 2 ? 0 : 2;
    options[first] = options[first + 1] = false;
    options[index] = true;
    if (number <= 2) ShowRTF(window);
}

}  // namespace corvella
