// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRectF>
#include <QString>
#include <QStringView>
#include <vector>

#include "core/TextRange.h"

// Where the words of a page's text stand on the page: the extractor's text of the page paired,
// character by character, with the same extractor's words and their boxes.
namespace corvella::BoxMatcher {

// A word as the extractor places it on its page, in the page as shown (points from its top-left
// corner, its rotation applied).
struct WordBox {
    QString text;
    QRectF box;
    // Which way it reads as shown, turned clockwise by quarter turns: 0 left to right, 1 top to
    // bottom, 2 right to left (upside down), 3 bottom to top.
    int rotation = 0;
    // One box per character of `text` (both halves of a character beyond 16 bits share one).
    std::vector<QRectF> glyphs;
};

// A box of words and which way they read (see WordBox).
struct Box {
    QRectF rect;
    int rotation = 0;
    bool operator==(const Box& other) const {
        return rect == other.rect && rotation == other.rotation;
    }
};

// The characters of one page's text paired with the glyphs of its words. Both come from one
// reading of the page, in the same order; they differ where the text joined a word hyphenated
// over a line's end (the hyphen is dropped) and in white space, which the words do not hold.
// Where they differ otherwise, the pairing skips to where they agree again.
class PageMatch {
public:
    // `text` is the page's text, which starts at `start` in the whole text; `words` must
    // outlive the match.
    PageMatch(QStringView text, qsizetype start, const std::vector<WordBox>& words);

    // The characters of the text other than white space, and how many of them were paired.
    qsizetype visible() const { return visible_; }
    qsizetype paired() const { return paired_; }

    // The boxes of the words that the range of the whole text holds, in reading order: a word's
    // whole box when the range holds every paired glyph of it, else the union of the glyphs it
    // holds. Words none of whose glyphs the range holds have no box, so every box is of the
    // range's own words.
    std::vector<Box> boxesOf(TextRange range) const;

private:
    struct Glyph {
        qint32 word = 0;
        qint32 index = 0;  // in its word's text
    };

    void pair(QStringView text);

    qsizetype start_ = 0;
    const std::vector<WordBox>& words_;
    std::vector<Glyph> glyphs_;         // the words' glyphs other than white space, in order
    std::vector<qint32> glyphOf_;       // per character of the text: its glyph, or -1
    std::vector<qint32> pairedInWord_;  // per word: how many of its glyphs were paired
    qsizetype visible_ = 0;
    qsizetype paired_ = 0;
};

// The boxes in reading order with each run of them along one line joined into one box, from the
// first's start to the last's end: neighbours that read the same way on one line, alike across
// it, no more than a space apart along it, so a joined box covers only the space between them.
std::vector<Box> JoinedAlongLines(const std::vector<Box>& boxes);

}  // namespace corvella::BoxMatcher
