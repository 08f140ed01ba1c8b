// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "core/Side.h"
#include "core/TextRange.h"
#include "diff/Difference.h"
#include "diff/Progress.h"

namespace corvella {

// Which positions of text 1 correspond to which of text 2: stretches of equal content (a word
// read the same in both, whatever the lines and pages around it), in the order of both texts.
class Alignment {
public:
    struct Pair {
        TextRange in1;
        TextRange in2;
    };

    Alignment() = default;
    // `pairs` ascending and not overlapping in both texts, whose lengths are given.
    Alignment(std::vector<Pair> pairs, qsizetype length1, qsizetype length2)
        : pairs_(std::move(pairs)), lengths_{{length1, length2}} {}

    const std::vector<Pair>& pairs() const { return pairs_; }

    // The position of the other text that corresponds to `position` of text `side`:
    // within a pair at the same share of its length, between two pairs (or a pair and the
    // text's start or end) at the same share of the way from one to the next.
    qsizetype map(Side side, qsizetype position) const;

    // What stands in the other text where `range` of text `side` stands: from the end of the last
    // pair that ends at or before its start to the start of the first pair that begins at or
    // after its end; length 0 when nothing stands there, which is where the range would go.
    TextRange counterpart(Side side, const TextRange& range) const;

private:
    // Index of the last pair starting at or before `position` in text `side`, or -1.
    qsizetype lastAtOrBefore(Side side, qsizetype position) const;

    std::vector<Pair> pairs_;
    BySide<qsizetype> lengths_{};
};

// The alignment of the layout-free comparison: words in reading order, page furniture, line
// breaks and hyphenation aside, paired along their shortest edit script.
Alignment AlignWords(QStringView text1, QStringView text2, const Progress& progress = {});

// Where each of a side's differences stands in the other text through the alignment, without the
// white space and line breaks at either end of it.
std::vector<TextRange> PlacesInOther(const std::vector<Difference>& differences, Side side,
                                     const Alignment& alignment, QStringView otherText);
// Gives every difference of both sides its place in the other text so.
struct Comparison;
void PlaceInOther(Comparison& comparison, const Alignment& alignment, QStringView text1,
                  QStringView text2);

}  // namespace corvella
