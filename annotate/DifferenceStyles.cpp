// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "annotate/DifferenceStyles.h"

#include <algorithm>
#include <array>

namespace corvella::DifferenceStyles {

namespace {

// Highlights darken what lies under them, so pale colours keep black text readable.
constexpr Colour kRed{1.0, 0.45, 0.45};
constexpr Colour kBlue{0.45, 0.65, 1.0};
constexpr Colour kViolet{0.8, 0.55, 1.0};

// One line per kind.
constexpr std::array kStyles{
    Style{DifferenceKind::Only1, kRed, QLatin1StringView("Changed"), OtherSide::Replacement},
    Style{DifferenceKind::Only2, kRed, QLatin1StringView("Changed"), OtherSide::Replacement},
    Style{DifferenceKind::Moved, kBlue, QLatin1StringView("Moved"), OtherSide::Place},
    Style{DifferenceKind::Reordered, kBlue, QLatin1StringView("Reordered"), OtherSide::Place},
    Style{DifferenceKind::Typography, kViolet, QLatin1StringView("Typography changed"),
          OtherSide::Writing},
};

}  // namespace

const Style& Of(DifferenceKind kind) {
    const auto found = std::find_if(kStyles.begin(), kStyles.end(),
                                    [kind](const Style& style) { return style.kind == kind; });
    // A kind without a line of its own is marked as a change.
    return found == kStyles.end() ? kStyles.front() : *found;
}

}  // namespace corvella::DifferenceStyles
