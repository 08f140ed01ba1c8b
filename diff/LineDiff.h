// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

#include "core/TextRange.h"

// The line comparison's core, on plain text: cutting a pane's text into pieces, finding the pieces
// that have no equal piece on the other side, and finding where a piece followed by a CR occurs.
namespace corvella::LineDiff {

// A pane's text cut at every CR. The LF after each CR stays at the start of the next piece; an
// empty text gives no pieces and a text that ends with CR gives a last empty piece.
std::vector<QStringView> CutAtCR(QStringView text);

// Indices of the own pieces that are equal to no other piece, in order. `tick` runs once per own
// piece so that the caller can keep the window live.
std::vector<qsizetype> PiecesMissingFrom(const std::vector<QStringView>& own,
                                         const std::vector<QStringView>& other,
                                         const std::function<void()>& tick);

// Every place where one of the search texts, followed by a CR, occurs in a text.
struct Occurrences {
    std::vector<TextRange> ranges;  // sorted by start, touching or overlapping ranges merged
    // The range the selection ends on when the search texts are coloured one after the other in
    // the given order: the last occurrence of the last search text that occurs at all.
    bool hasLast = false;
    TextRange last;
    // When asked for: every occurrence, those of one search text together in text order, and for
    // each search text (in the order given) where its occurrences stand there, as {first, count}.
    std::vector<TextRange> each;
    std::vector<TextRange> eachOf;
};

// `searchTexts` are texts without CR (pieces of a pane's text), in the order they are coloured;
// repeats are allowed. The occurrences are those that a search from the start of the text, then
// from two characters after each match, finds.
Occurrences FindPiecesFollowedByCR(QStringView text, const std::vector<QStringView>& searchTexts,
                                   bool each = false);

}  // namespace corvella::LineDiff
