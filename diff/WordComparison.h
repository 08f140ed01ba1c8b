// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "diff/Comparison.h"
#include "diff/Progress.h"

// The word comparison as a value: the words of each line that the forward-only cursor does not
// find in the line of the other text that the pass has reached (see WordDiff).
namespace corvella::WordCompare {

// One pass: every line of `own` against line j of `other`, where j moves on with each own line
// while at least one character follows the CR LF that ends line j. The missing words, in order,
// as differences of `kind` (two spaces in a row give an empty word).
std::vector<Difference> Pass(QStringView own, QStringView other, DifferenceKind kind,
                             const Progress& progress = {});

// Both passes, each word with its page and line.
Comparison Compare(QStringView text1, QStringView text2, const Progress& progress = {});

}  // namespace corvella::WordCompare
