// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtGlobal>

#include "core/TextRange.h"

namespace corvella {

// What a difference is: text only one side has, or text both have, found elsewhere (moved), read
// in another order in the same place (reordered) or written only in another typography (quotes,
// dashes, ligatures: see WordFolding).
enum class DifferenceKind : quint8 { Only1, Only2, Moved, Reordered, Typography };

// Whether a layout-free run's changed characters were looked for (see ComparedSide::changes).
enum class Refinement : quint8 {
    None,     // no run stands opposite it (or another method): the whole run changed
    Refined,  // its changed characters are listed
    TooLong,  // it or its opposite run is too long to look into: the whole run counts as changed
};

// One difference as every part of the program sees it: the window colours and lists it, the
// difference walk goes to it, the reports write it.
struct Difference {
    // In its own text: a line without its break, a word, or a run of words from its first word's
    // start to its last word's end.
    TextRange span;
    // Where it stands in the other text: its counterpart, or, with length 0, the place where the
    // missing text would stand. A start of -1 means not placed yet (see PlaceInOther).
    TextRange other{-1, 0};
    qint32 page = 1;  // of its first character after its own form feeds, from 1
    qint32 line = 1;  // that character's line on its page, from 1
    // Layout-free runs: the first of its words among its text's words, and how many it holds.
    qint32 firstWord = 0;
    qint32 wordCount = 1;
    // Its ranges among its side's marks, which the window colours for it; none means its span, a
    // single empty one that nothing is coloured for it.
    qint32 firstMark = 0;
    qint32 markCount = 0;
    DifferenceKind kind = DifferenceKind::Only1;
    Refinement refinement = Refinement::None;
    // Layout-free: the run of the other side that replaced it (an index into the other side's
    // differences; both name each other), -1 when none stands between the same unchanged words.
    qint32 opposite = -1;

    bool placed() const { return other.start >= 0; }
};

// Millions of word differences are held at once: every field added must fit the padding.
static_assert(sizeof(Difference) <= 64, "a difference takes at most 64 bytes");

}  // namespace corvella
