// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringView>
#include <vector>

#include "diff/Comparison.h"
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

// Both texts' missing lines, each with its page and line.
Comparison Compare(QStringView text1, QStringView text2, const Progress& progress = {});

}  // namespace corvella::LineCompare
