// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "core/Side.h"
#include "diff/Difference.h"
#include "diff/layout/LayoutOptions.h"

namespace corvella {

enum class Method { Lines, Words, IgnoringLayout };

// Characters that changed within a replaced run: where they stand in the pane's text, and in the
// run's words as listed (differenceWords). A change that crosses a word's split at a line's end
// is two changes, one per line.
struct CharacterChange {
    TextRange span;
    TextRange inWords;
};

// Layout-free: the words paired only because an option set their difference aside, counted once
// for both texts.
struct IgnoredWords {
    qsizetype letterCase = 0;
    qsizetype punctuation = 0;
    qsizetype numbers = 0;
};

// One text's share of a comparison's result.
struct ComparedSide {
    // Only in this text, in the order they are listed.
    std::vector<Difference> differences;
    // Layout-free: runs that stand elsewhere in the other text, words only read in another order
    // there, and runs of words that only the typography changed (no differences unless the
    // comparison was asked for exact typography). moved[i] of one side is moved[i] of the other,
    // and so for reordered and typography.
    std::vector<Difference> moved;
    std::vector<Difference> reordered;
    std::vector<Difference> typography;
    // The ranges of the differences, moves and reorders that mark other than their span, each
    // one's in order (see firstMark). Lines equal in text share the marks of every place their
    // text stands followed by a line break.
    std::vector<TextRange> marks;
    // Layout-free: the words of differences[i], moved[i] and reordered[i], one space apart,
    // hyphenated words joined. Lines and words read their text at their span.
    std::vector<QString> differenceWords;
    std::vector<QString> movedWords;
    std::vector<QString> reorderedWords;
    std::vector<QString> typographyWords;
    // Layout-free: the changed characters of the refined runs (Refinement::Refined), each run's in
    // order: those of differences[i] are changes[changeStarts[i]] up to changes[changeStarts[i +
    // 1]]. changeStarts holds one entry more than differences, or none when no run was refined.
    std::vector<CharacterChange> changes;
    std::vector<qint32> changeStarts;

    // The marks of one difference.
    std::vector<TextRange> marksOf(const Difference& difference) const;
    // The marks of every difference (not moves or reorders), in order; marks that several
    // differences share come once.
    std::vector<TextRange> differenceMarks() const;
    // The changed characters of differences[index]; none unless it was refined.
    std::vector<CharacterChange> changesOf(size_t index) const;
};

// What a comparison of two texts found: each text's differences, and what it could pair.
struct Comparison {
    Method method = Method::Lines;
    BySide<ComparedSide> sides;
    // Layout-free: the options it ran with, and the words they paired.
    LayoutCompare::Options options;
    IgnoredWords ignored;

    ComparedSide& side(Side side) { return sides[side]; }
    const ComparedSide& side(Side side) const { return sides[side]; }
    bool same() const {
        return sides[Side::One].differences.empty() && sides[Side::Two].differences.empty();
    }
    // Words in the differences of both sides (a line or a word counts as one).
    qsizetype differingWords() const;
};

}  // namespace corvella
