// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <map>
#include <vector>

#include "core/PaneDocument.h"
#include "core/TextRange.h"

namespace corvella {

// The runs of each colour given to a text, kept as the colourings are made, so that they need not
// be read back out of the document: the maximal runs of characters of a colour, in text order,
// line breaks never part of one (as a pane reads them).
class KnownColours {
public:
    // A text without any colour.
    void clear() { runs_.clear(); }
    // Gives the colour to the ranges (sorted by start, within the text); black is no run.
    void paint(const QString& text, const std::vector<TextRange>& ranges, Color color);
    // The runs of the colour (not black).
    std::vector<TextRange> runsOf(Color color) const;

private:
    std::map<Color, std::vector<TextRange>> runs_;
};

}  // namespace corvella
