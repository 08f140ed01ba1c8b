// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <functional>
#include <vector>

#include "annotate/DifferenceStyles.h"
#include "core/Side.h"
#include "diff/Comparison.h"

// What is marked on a compared file's pages: each difference of its side that a filter lets
// through, with the ranges of its words in the file's text and a note on the other file.
namespace corvella::Markings {

struct Files {
    BySide<QString> names;  // as the notes name them
    BySide<QStringView> texts;
    // When only some of a document's pages were compared, the document's number of each page of
    // its text, in order; empty when the text holds every page.
    BySide<std::vector<int>> pageNumbers{};
};

// The document's number of the text's page `page` (counted from 1 by form feeds).
int DocumentPage(const std::vector<int>& pageNumbers, int page);

using Filter = std::function<bool(Side, const Difference&)>;
// The differences, the moves and the changes of typography, not the words only read in another
// order (which the window does not colour either).
bool ChangesAndMoves(Side side, const Difference& difference);

struct Marking {
    const DifferenceStyles::Style* style = nullptr;
    std::vector<TextRange> ranges;
    // The kind and the other side: the words that replace these there, or where they would
    // stand, or the other place of the same words.
    QString note;
};

// The markings of one side, its differences first (one marking for each run of them that only
// white space parts), then its moves, reorders and changes of typography. The differences' places
// in the other text must have been found (see PlaceInOther).
std::vector<Marking> Of(const Comparison& comparison, Side side, const Files& files,
                        const Filter& filter = ChangesAndMoves);

}  // namespace corvella::Markings
