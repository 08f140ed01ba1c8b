// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "core/Side.h"
#include "core/TextRange.h"
#include "diff/Comparison.h"
#include "diff/layout/WordFolding.h"

// The characters that changed between a run of words and the run that replaced it: "recieve"
// against "receive" is the one letter that moved, "1998" against "1999" the last digit.
namespace corvella::CharacterChanges {

// Runs longer than this (their words and the spaces between them, on either side) are not
// looked into: the work grows with the product of the two lengths.
inline constexpr qsizetype kMaxRunCharacters = 400;
// An unchanged stretch shorter than this between two changes of a word counts as changed: "abcd"
// against "xbcy" changed as a whole rather than in two letters around two that stayed.
inline constexpr qsizetype kMinUnchanged = 3;

// A word of a run: its text as the comparison read it (a word split at a line's end joined, with
// or without its hyphen) and its parts in the pane's text.
struct Word {
    QStringView text;
    TextRange first;
    TextRange second;  // empty unless the word was split at a line's end
};

struct Found {
    bool refined = false;  // false: a run is too long, and nothing is listed
    BySide<std::vector<CharacterChange>> changes;
};

// Pairs the words of the two runs that are alike (at least half of the longer one's characters in
// common, in order; the pairs in order, as many characters in common as can be), then marks
// within each pair the characters that differ as the folding `rules` compare them; a word left
// unpaired changed as a whole. The changes, per side in order, in the pane and in the run's words
// (its words' texts one space apart).
Found Refine(const std::vector<Word>& one, const std::vector<Word>& two,
             const WordFolding::Rules& rules);

}  // namespace corvella::CharacterChanges
