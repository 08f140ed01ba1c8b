// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <vector>

// A word as the layout-free comparison compares it: without what only the typesetting changes
// (ligatures, curly quotes, the kind of dash, invisible characters, hyphens inside a word, how
// accents are encoded) and, when asked, without letter case or the punctuation at its ends.
namespace corvella::WordFolding {

// What folding sets aside.
struct Rules {
    // U+FB00-FB06 ligatures become their letters; curly, low and prime quotes straight ones; the
    // dashes, hyphens and "--" one '-'; the ellipsis three full stops; soft hyphens, zero-width
    // characters and the controls of text direction go, and so do hyphens and dashes between two
    // letters ("no-charge" is "nocharge", as an extractor joins a word split at a line's end) and
    // runs of four or more (a rule drawn with dashes); accents are composed (NFC).
    bool typography = true;
    bool letterCase = false;   // letters compare case-folded
    bool punctuation = false;  // leading and trailing punctuation is left out
};

// The word as it is compared: equal folds are the same word.
QString Fold(QStringView word, const Rules& rules);

// One character of a folded word (a letter with its combining marks, composed) and where the
// characters it comes from stand in the word: a ligature's letters each stand for the whole
// ligature, a removed character belongs to no unit.
struct Unit {
    QString text;
    qsizetype start = 0;
    qsizetype end = 0;
};

// The folded word as units in order. Their texts together are Fold's text, but for letters that
// compose with a letter before them (Hangul jamo, some Indic vowel signs), which stay apart here.
std::vector<Unit> Units(QStringView word, const Rules& rules);

}  // namespace corvella::WordFolding
