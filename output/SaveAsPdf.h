// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/MainWindow.h"

namespace corvella {

// "Save #1 As PDF" and "Save #2 As PDF": the visible pane of the pair is printed as plain text to
// the PDF printer. The user's default printer is the same afterwards as before.
void PushButton2_Click(MainWindow& window);
void PushButton5_Click(MainWindow& window);

// The file both commands print from, in the private temp folder.
QString PrintTempFile();

}  // namespace corvella
