// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "diff/Comparison.h"

// What a run found, counted in units a reader can name: differing lines of each file for the line
// method, differing words for the word method, and for the layout-free method the runs of each
// file with their words, the runs that only moved, the words only read in another order, those
// only the typography changed (unless it was compared exactly) and those each option in force
// paired (ignoredCase, ignoredPunctuation, ignoredNumbers). The text, JSON and HTML reports all
// write these same figures.
namespace corvella::DifferenceCounts {

struct Count {
    QString key;  // "file1.lines", "moved.runs": where the JSON report holds it
    qsizetype value = 0;
    QString unit;  // "lines", "words" or "runs"
};

std::vector<Count> Of(const Comparison& comparison);

// The figures of what the layout-free method set aside, each with its name: "typography", "case
// ignored", "punctuation ignored", "numbers ignored".
std::vector<std::pair<QString, Count>> SetAside(const std::vector<Count>& counts);

// "3 lines", "1 run": a figure and its unit, singular for one.
QString Phrase(const Count& count);

// The figures as one sentence: "file1 3 lines, file2 2 lines"; the layout-free method reads
// "file1 5 runs of 12 words, file2 4 runs of 9 words, 1 run moved, 6 words reordered,
// typography: 2 words", and "case ignored: 3 words" for each option in force.
QString Sentence(const std::vector<Count>& counts);

}  // namespace corvella::DifferenceCounts
