// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include "diff/Alignment.h"
#include "diff/Comparison.h"
#include "diff/Progress.h"
#include "diff/layout/LayoutOptions.h"

// The layout-free comparison: the two texts as the words a reader reads, whatever their pages and
// lines (see LayoutFreeWords), compared along a shortest edit script (LayoutDiff).
namespace corvella::LayoutCompare {

// A run of at least this many words is a move when it stands unchanged elsewhere.
inline constexpr qsizetype kMinMovedWords = 5;
// Words that changed places between two runs of at least this many unchanged words are reordered,
// not different, where at least half of the words that changed there stand on both sides.
inline constexpr qsizetype kMinSteadyWords = 5;

// Compares two pane texts (CR LF line breaks, a form feed before each page but the first) as
// words in reading order, without page furniture, each word folded as `options` say (see
// WordFolding). Each difference is a run of consecutive differing words (firstWord and wordCount
// among its text's layout-free words; a mark per word, two for a word joined over a line's end),
// placed in the other text; a run and the run that replaced it name each other (opposite), and
// their changed characters are listed when they are short enough (changes). Moved runs, reordered
// words and words that only the typography changed are not differences: moved[i], reordered[i]
// and typography[i] of one side are the same words as those of the other, each placed at the
// other. When asked, also gives the alignment of the equal words.
Comparison Compare(QStringView text1, QStringView text2, const Progress& progress = {},
                   Alignment* alignment = nullptr, const Options& options = {});

// Only the alignment: the equal words of the comparison, paired.
Alignment Align(QStringView text1, QStringView text2, const Progress& progress = {},
                const Options& options = {});

}  // namespace corvella::LayoutCompare
