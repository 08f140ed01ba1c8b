// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include "core/TextRange.h"
#include "diff/Difference.h"

namespace corvella::OtherSide {

// The differences whose spans meet `place` (a walked run may join several listed lines, or be one
// word of a run of words), as indexes into `differences`; each side's differences stand in text
// order.
std::vector<size_t> Meeting(const std::vector<Difference>& differences, TextRange place);

// Where `place` stands in the other text: from the first to the end of the last placed
// counterpart of the differences it meets; none when it meets no placed difference. `others`,
// when given, are the differences' places in the other text, in their stead.
std::optional<TextRange> Of(const std::vector<Difference>& differences, TextRange place,
                            const std::vector<TextRange>* others = nullptr);

// The difference (a move, say) whose span holds the position, its end included; none otherwise.
std::optional<size_t> Holding(const std::vector<Difference>& differences, qsizetype position);

}  // namespace corvella::OtherSide
