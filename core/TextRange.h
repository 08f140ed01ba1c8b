// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

namespace corvella {

// A run of characters in a pane's text, counted as the text reads back (a CR LF counts twice).
struct TextRange {
    qsizetype start = 0;
    qsizetype length = 0;
};

}  // namespace corvella
