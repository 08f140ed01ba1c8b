// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLatin1StringView>

#include "diff/Difference.h"

// How each kind of difference is marked on a PDF's pages: its colour, the word its note starts
// with, and what of the other file the note gives.
namespace corvella::DifferenceStyles {

struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
};

// What the note says of the other file: the words that replace the marked ones there (or where
// they would stand), the page and line of the same words' other place, or how it writes the same
// words otherwise.
enum class OtherSide { Replacement, Place, Writing };

struct Style {
    DifferenceKind kind;
    Colour colour;
    QLatin1StringView name;
    OtherSide otherSide;
};

// The style of a kind of difference.
const Style& Of(DifferenceKind kind);

}  // namespace corvella::DifferenceStyles
