// SPDX-FileCopyrightText: 2026 Kestrovan
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/MainWindow.h"
#include "diff/Comparison.h"
#include "diff/WordDiff.h"

namespace corvella {

// "Find Differences (Words)": with the standard method, colours the words of each line that are
// missing from a short window of the corresponding line of the other pane, lists them in the work
// panes and applies the display mode; with the word-processor method, has the word processor
// compare the two texts. `result`, when given, receives the words listed by the standard method.
void PushButton6_Click(MainWindow& window, Comparison* result = nullptr);

// One pass of the word comparison: the lines of one pane against the lines of the other, the
// differing words coloured red in the pane and listed in its work pane.
//
// The first differing word of the pass gets the literal treatment (work pane rewritten, word
// selected, selection coloured). Once that worked, the effects of all further words are held back
// and applied by finish() in one go: the work pane written once, the words coloured in one batch
// and the selection put on the last word, which is what word-by-word steps leave. While the
// literal steps fail, every line tries them again, so that each failing line fails as it would.
class WordPass {
public:
    // `listed`, when given, receives each listed word as a difference of `kind`.
    WordPass(PaneDocument& pane, PaneDocument& work, std::vector<Difference>* listed = nullptr,
             DifferenceKind kind = DifferenceKind::Only1)
        : pane_(pane), work_(work), listed_(listed), kind_(kind) {}

    // Compares the own line, taken afresh from the pane at 1-based `start` for `length`
    // characters, with `otherLine`; the other line's words are kept for the next call when it
    // passes the same view again.
    void FindWordDifferencesInLine(QStringView otherLine, qsizetype start, qsizetype length);

    bool hasHeldBack() const { return heldBack_; }
    // Applies the held-back effects.
    void finish();

private:
    void literalStep(const QString& ownText, qsizetype start, const TextRange& word);

    PaneDocument& pane_;
    PaneDocument& work_;
    std::vector<Difference>* listed_;
    DifferenceKind kind_;

    std::optional<WordDiff::OtherLine> other_;
    QStringView otherView_;
    std::vector<TextRange> missing_;

    bool batching_ = false;
    bool heldBack_ = false;
    QString workText_;
    std::vector<TextRange> red_;
    TextRange last_;
};

}  // namespace corvella
