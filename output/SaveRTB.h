// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

#include "core/PaneDocument.h"
#include "core/Services.h"

namespace corvella::RTB {

// Writes the plain text of a pane followed by CR LF into a file, as UTF-8 without a byte-order
// mark. An existing file is replaced only when the user agrees to overwrite it. The text goes to a
// new file in the same folder that then takes the target's name, so a symbolic link planted at the
// target is replaced rather than followed, and a write that fails leaves the target as it was.
// Failures are reported here and never reach the caller.
void SaveRTBToFile(PaneDocument& pane, const QString& path, Services& services);

}  // namespace corvella::RTB
