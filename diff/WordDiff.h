// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/TextRange.h"

// The word comparison's core, on plain text: cutting a pane's text into lines and a line into
// words, and finding the words of one line that the forward-only cursor does not find in another.
namespace corvella::WordDiff {

// A text cut at every CR LF pair; the pieces hold neither the CR nor the LF. An empty text gives
// no lines; a text ending with CR LF gives a last empty line.
std::vector<QStringView> CutAtCRLF(QStringView text);

// A line cut at every space: two spaces in a row give an empty word between them. An empty line
// gives no words.
std::vector<QStringView> CutAtSpaces(QStringView line);

// How many other words are tried for each own word, given the number of own words: half the last
// index plus one, rounded to the nearest whole number with a half going to the even neighbour.
qsizetype Window(qsizetype ownWordCount);

// The line an own line is compared against, cut into words once. Many own lines may be compared
// against the same other line (when one pane has more lines than the other), so the words are
// kept, and indexed by content the first time a long search needs it. Views into the line's
// text, which must outlive this object.
class OtherLine {
public:
    explicit OtherLine(QStringView line);

    qsizetype size() const { return qsizetype(words_.size()); }
    // The index of the first word equal to `word` in [from, to), or -1.
    qsizetype find(QStringView word, qsizetype from, qsizetype to) const;

private:
    struct Index {
        QHash<QStringView, qsizetype> group;  // word -> its group of positions
        std::vector<qsizetype> groupStart;    // group g holds positions[groupStart[g] ..
        std::vector<qsizetype> positions;     //   groupStart[g + 1]), ascending
    };
    const Index& index() const;

    std::vector<QStringView> words_;
    mutable std::optional<Index> index_;
};

// The own words that are not found: each own word is looked for among the other words from the
// cursor on, at most `Window` of them; a match moves the cursor just past the matched word, a miss
// leaves it. Appends each missing word's range, counted from the start of the own line, in order.
void MissingWords(QStringView ownLine, const OtherLine& other, std::vector<TextRange>& missing);

}  // namespace corvella::WordDiff
