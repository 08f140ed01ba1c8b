// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include "core/TextRange.h"
#include "diff/Comparison.h"

namespace corvella {

// Where each difference of a side stands in the work pane that a Find Differences command of the
// method listed it in: one entry per difference, in order, each the text of its line there (the
// line comparison lists from the pane's first line, the others after an empty first line; each
// entry ends with a line break). An empty difference has an entry of length 0.
std::vector<TextRange> WorkPaneEntries(Method method, const ComparedSide& side);

}  // namespace corvella
