// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#include "diff/Alignment.h"

#include <algorithm>

#include "diff/Comparison.h"
#include "diff/layout/LayoutComparison.h"

namespace corvella {

namespace {

const TextRange& in(const Alignment::Pair& pair, Side side) {
    return side == Side::One ? pair.in1 : pair.in2;
}
qsizetype end(const TextRange& range) { return range.start + range.length; }

// Without the white space at either end; all white space leaves the point where it ends.
TextRange Trimmed(QStringView text, TextRange range) {
    qsizetype from = std::clamp<qsizetype>(range.start, 0, text.size());
    qsizetype to = std::clamp<qsizetype>(range.start + range.length, from, text.size());
    while (from < to && text[from].isSpace()) ++from;
    while (to > from && text[to - 1].isSpace()) --to;
    return {from, to - from};
}

}  // namespace

qsizetype Alignment::lastAtOrBefore(Side side, qsizetype position) const {
    const auto after = std::upper_bound(
        pairs_.begin(), pairs_.end(), position,
        [side](qsizetype p, const Pair& pair) { return p < in(pair, side).start; });
    return qsizetype(after - pairs_.begin()) - 1;
}

qsizetype Alignment::map(Side side, qsizetype position) const {
    const Side other = Other(side);
    const qsizetype k = lastAtOrBefore(side, position);
    // The stretch between two anchors: the end of pair k (or the texts' starts) and the start of
    // pair k + 1 (or the texts' ends).
    qsizetype ownFrom = 0, otherFrom = 0;
    if (k >= 0) {
        const TextRange& own = in(pairs_[size_t(k)], side);
        const TextRange& theirs = in(pairs_[size_t(k)], other);
        if (position < end(own))  // equal content: the same share of its length
            return theirs.start +
                   (position - own.start) * theirs.length / std::max<qsizetype>(1, own.length);
        ownFrom = end(own);
        otherFrom = end(theirs);
    }
    const bool last = size_t(k + 1) == pairs_.size();
    const qsizetype ownTo = last ? lengths_[side] : in(pairs_[size_t(k + 1)], side).start;
    const qsizetype otherTo = last ? lengths_[other] : in(pairs_[size_t(k + 1)], other).start;
    const qsizetype gap = std::max<qsizetype>(1, ownTo - ownFrom);
    const qsizetype at = std::clamp<qsizetype>(position - ownFrom, 0, gap);
    return otherFrom + at * std::max<qsizetype>(0, otherTo - otherFrom) / gap;
}

TextRange Alignment::counterpart(Side side, const TextRange& range) const {
    const Side other = Other(side);
    // The last pair that ends at or before the range's start.
    const auto before =
        std::upper_bound(pairs_.begin(), pairs_.end(), range.start,
                         [side](qsizetype p, const Pair& pair) { return p < end(in(pair, side)); });
    const qsizetype from = before == pairs_.begin() ? 0 : end(in(*(before - 1), other));
    // The first pair that starts at or after the range's end.
    const auto after = std::lower_bound(
        before, pairs_.end(), end(range),
        [side](const Pair& pair, qsizetype p) { return in(pair, side).start < p; });
    const qsizetype to = after == pairs_.end() ? lengths_[other] : in(*after, other).start;
    return {from, std::max<qsizetype>(0, to - from)};
}

Alignment AlignWords(QStringView text1, QStringView text2, const Progress& progress) {
    return LayoutCompare::Align(text1, text2, progress);
}

std::vector<TextRange> PlacesInOther(const std::vector<Difference>& differences, Side side,
                                     const Alignment& alignment, QStringView otherText) {
    std::vector<TextRange> places;
    places.reserve(differences.size());
    for (const Difference& difference : differences)
        places.push_back(Trimmed(otherText, alignment.counterpart(side, difference.span)));
    return places;
}

void PlaceInOther(Comparison& comparison, const Alignment& alignment, QStringView text1,
                  QStringView text2) {
    for (const Side side : kBothSides) {
        std::vector<Difference>& differences = comparison.side(side).differences;
        const std::vector<TextRange> places =
            PlacesInOther(differences, side, alignment, side == Side::One ? text2 : text1);
        for (size_t i = 0; i < differences.size(); ++i) differences[i].other = places[i];
    }
}

}  // namespace corvella
