// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>

#include "diff/Alignment.h"
#include "diff/Comparison.h"
#include "diff/Progress.h"

// The layout-free comparison: the two texts as the words a reader reads, whatever their pages and
// lines (see LayoutFreeWords), compared along a shortest edit script (LayoutDiff).
namespace corvella::LayoutCompare {

// A run of at least this many words is a move when it stands unchanged elsewhere.
inline constexpr qsizetype kMinMovedWords = 5;
// Words that changed places between two runs of at least this many unchanged words are reordered,
// not different, where at least half of the words that changed there stand on both sides.
inline constexpr qsizetype kMinSteadyWords = 5;

// Compares two pane texts (CR LF line breaks, a form feed before each page but the first) as
// words in reading order, without page furniture. Each difference is a run of consecutive
// differing words (firstWord and wordCount among its text's layout-free words; a mark per word,
// two for a word joined over a line's end), placed in the other text. Moved runs and reordered
// words are not differences: moved[i] and reordered[i] of one side are the same words as those of
// the other, each placed at the other. When asked, also gives the alignment of the equal words.
Comparison Compare(QStringView text1, QStringView text2, const Progress& progress = {},
                   Alignment* alignment = nullptr);

// Only the alignment: the equal words of the comparison, paired.
Alignment Align(QStringView text1, QStringView text2, const Progress& progress = {});

}  // namespace corvella::LayoutCompare
