// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "core/Side.h"
#include "diff/Difference.h"

namespace corvella {

enum class Method { Lines, Words, IgnoringLayout };

// One text's share of a comparison's result.
struct ComparedSide {
    // Only in this text, in the order they are listed.
    std::vector<Difference> differences;
    // Layout-free: runs that stand elsewhere in the other text, and words only read in another
    // order there. moved[i] of one side is moved[i] of the other, and so for reordered.
    std::vector<Difference> moved;
    std::vector<Difference> reordered;
    // The ranges of the differences, moves and reorders that mark other than their span, each
    // one's in order (see firstMark). Lines equal in text share the marks of every place their
    // text stands followed by a line break.
    std::vector<TextRange> marks;
    // Layout-free: the words of differences[i], moved[i] and reordered[i], one space apart,
    // hyphenated words joined. Lines and words read their text at their span.
    std::vector<QString> differenceWords;
    std::vector<QString> movedWords;
    std::vector<QString> reorderedWords;

    // The marks of one difference.
    std::vector<TextRange> marksOf(const Difference& difference) const;
    // The marks of every difference (not moves or reorders), in order; marks that several
    // differences share come once.
    std::vector<TextRange> differenceMarks() const;
};

// What a comparison of two texts found: each text's differences, and what it could pair.
struct Comparison {
    Method method = Method::Lines;
    BySide<ComparedSide> sides;

    ComparedSide& side(Side side) { return sides[side]; }
    const ComparedSide& side(Side side) const { return sides[side]; }
    bool same() const {
        return sides[Side::One].differences.empty() && sides[Side::Two].differences.empty();
    }
    // Words in the differences of both sides (a line or a word counts as one).
    qsizetype differingWords() const;
};

}  // namespace corvella
