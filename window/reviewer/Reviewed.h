// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "core/Side.h"
#include "diff/Alignment.h"
#include "diff/Comparison.h"

namespace corvella {

// What the review window shows: a comparison with the texts it was made of, the alignment of
// their equal content when known, and the files as the reports and the annotated copies name them.
struct Reviewed {
    std::shared_ptr<const Comparison> comparison;
    BySide<QString> texts;
    std::shared_ptr<const Alignment> alignment;  // null until known
    // Where each difference stands in the other text, when the comparison did not place them
    // itself (lines and words: the main window's link places them); null until known.
    std::shared_ptr<const BySide<std::vector<TextRange>>> others;
    BySide<QString> names;  // the PDFs' paths; empty where unknown
    // When only some pages were compared, the document's number of each page of the text.
    BySide<std::vector<int>> pageNumbers;
    BySide<QString> pageRanges;  // those pages as chosen ("1-3,5"); empty for every page

    // Where a side's difference stands in the other text; start -1 when not known.
    TextRange otherPlace(Side side, size_t index) const {
        if (others && index < (*others)[side].size()) return (*others)[side][index];
        return comparison->side(side).differences[index].other;
    }
};

}  // namespace corvella
