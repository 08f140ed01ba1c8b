// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringView>
#include <deque>
#include <vector>

#include "core/TextRange.h"
#include "diff/Progress.h"

// A pane's text as the words a reader reads, whatever the pages and lines: page furniture left
// out, a word hyphenated at a line's end joined again, leader dots dropped.
namespace corvella::LayoutFreeWords {

// One word and where it stands in the pane's text. A word joined over a line end has two parts.
struct Word {
    TextRange first;
    TextRange second;  // empty unless the word was hyphenated
    int id = 0;        // equal words have equal ids (see Dictionary)

    qsizetype start() const { return first.start; }
    qsizetype end() const {
        return second.length > 0 ? second.start + second.length : first.start + first.length;
    }
};

// Gives each distinct word text one id, shared by the texts compared with each other. Holds views
// of the texts it was given, which must outlive it.
class Dictionary {
public:
    int idOf(QStringView word);
    int idOf(QString joined);  // a word made of two parts, kept here
    QStringView text(int id) const { return texts_[size_t(id)]; }
    int size() const { return int(texts_.size()); }

private:
    QHash<QStringView, int> ids_;
    std::vector<QStringView> texts_;
    std::deque<QString> joined_;
};

// A pane's text (CR LF line breaks, a form feed before each page but the first) cut into its
// words outside page furniture, in reading order, before hyphenated words are joined.
struct Scanned {
    struct Piece {
        TextRange range;
        bool endsLine = false;
    };
    QStringView text;
    std::vector<Piece> pieces;
};
Scanned Scan(QStringView text, const Progress& progress = {});

// The words with a hyphen inside that stand within a line ("non-empty"): split at that hyphen by
// a line's end, such a word keeps its hyphen.
void CollectHyphenated(const Scanned& scanned, QSet<QStringView>& hyphenated);

// The words: "docu-" at a line's end and "ment" at the next line's start are "document" (or
// "docu-ment" when `hyphenated` holds that; the hyphen may also be U+2010, U+2011 or a soft
// hyphen, or several of them); leader dots (a word of dots, or three or more "."
// words in a row) and rules of dashes (four or more, nothing else) are left out. Lets the window
// have a turn now and then through `progress`.
std::vector<Word> Join(const Scanned& scanned, const QSet<QStringView>& hyphenated,
                       Dictionary& dictionary, const Progress& progress = {});

// Scan, CollectHyphenated and Join of one text.
std::vector<Word> Read(QStringView text, Dictionary& dictionary);

}  // namespace corvella::LayoutFreeWords
