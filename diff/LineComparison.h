// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "diff/Comparison.h"
#include "diff/LineDiff.h"
#include "diff/Progress.h"

// The line comparison as a value: which lines of each text have no equal line anywhere in the
// other (see LineDiff for how a text is cut into lines).
namespace corvella::LineCompare {

// The own pieces equal to no other piece, in order, as differences of `kind` whose span is the
// line without the LF of the break before it. `ownPieces` are views into `ownText`.
std::vector<Difference> MissingLines(QStringView ownText, const std::vector<QStringView>& ownPieces,
                                     const std::vector<QStringView>& otherPieces,
                                     DifferenceKind kind, const Progress& progress = {});

// The piece of the text a missing line was cut from: its span with the LF before it, if any.
QStringView PieceOf(QStringView text, const Difference& line);

// The search texts that colour the side's missing lines: each one's piece, in order.
std::vector<QStringView> SearchTexts(QStringView text, const std::vector<Difference>& lines);

// Gives each missing line of the side, as marks, every place where its text stands followed by a
// line break, without the breaks: what colouring its search text colours. `found` holds every
// occurrence of the side's search texts (see LineDiff::FindPiecesFollowedByCR).
void MarkOccurrences(QStringView text, const LineDiff::Occurrences& found, ComparedSide& side);

// Both texts' missing lines, each with its page and line and its marks.
Comparison Compare(QStringView text1, QStringView text2, const Progress& progress = {});

}  // namespace corvella::LineCompare
