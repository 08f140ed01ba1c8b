// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/MainWindow.h"

namespace corvella {

// "Help": two boxes saying what the program does and does not do.
void PushButton7_Click(MainWindow& window);

QString HelpText1();
QString HelpText2();

}  // namespace corvella
