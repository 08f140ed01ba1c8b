#pragma once

#include <QString>
#include <QStringView>
#include <vector>

#include "core/EventPump.h"
#include "core/PaneDocument.h"

namespace corvella {

// A run of consecutive words of one text, as the layout-free comparison found it.
struct LayoutRun {
    qsizetype firstWord = 0;  // index among the text's layout-free words
    qsizetype wordCount = 0;
    std::vector<TextRange> ranges;  // in the pane's text: one per word, two for a joined word
    TextRange span;                 // from the first word's start to the last word's end
    int page = 1;                   // of the first word, from 1
    int line = 1;                   // of the first word on its page, from 1
    QString words;                  // the words, one space apart, hyphenated words joined
};

// A run that stands unchanged in both texts, in different places.
struct LayoutMove {
    LayoutRun from;  // in text 1
    LayoutRun to;    // in text 2
};

// The words of one stretch of change that both texts hold, only read in another order (a brace
// or a comment of a code listing, an index page read across its columns in one text). `in1` and
// `in2` hold the same words, each in its own text's order; unlike a run's, its words need not be
// consecutive (`wordCount` counts them, `span` reaches from the first to the last).
struct LayoutReorder {
    LayoutRun in1;
    LayoutRun in2;
};

// What "Find Differences (Ignoring Layout)" found: the runs only in text 1, those only in text 2
// (a replacement is one of each), and the moved runs and reordered words, which are not
// differences.
struct LayoutComparison {
    std::vector<LayoutRun> only1;
    std::vector<LayoutRun> only2;
    std::vector<LayoutMove> moved;
    std::vector<LayoutReorder> reordered;

    qsizetype differingWords() const;
    bool same() const { return only1.empty() && only2.empty(); }
};

namespace LayoutCompare {

// A run of at least this many words is a move when it stands unchanged elsewhere.
inline constexpr qsizetype kMinMovedWords = 5;
// Words that changed places between two runs of at least this many unchanged words are reordered,
// not different, where at least half of the words that changed there stand on both sides.
inline constexpr qsizetype kMinSteadyWords = 5;

// Compares two pane texts (CR LF line breaks, a form feed before each page but the first) as
// words in reading order, without page furniture (see LayoutFreeWords).
LayoutComparison Compare(QStringView text1, QStringView text2, TimeSlicedYield* yield = nullptr);

}  // namespace LayoutCompare

}  // namespace corvella
