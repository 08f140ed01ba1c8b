#include "compare/LayoutComparison.h"

#include "compare/DifferenceReport.h"
#include "compare/LayoutDiff.h"
#include "compare/LayoutFreeWords.h"

namespace corvella {

namespace {

using LayoutFreeWords::Word;

struct Side {
    QStringView text;
    std::vector<Word> words;
    std::vector<int> ids;
    std::vector<int> keys;  // the ids, every number one and the same key
};

// The words `from` to `to` of a side whose mark is `mark`, as one run.
LayoutRun makeRun(const Side& side, const LayoutFreeWords::Dictionary& dictionary, qsizetype from,
                  qsizetype to, const std::vector<LayoutDiff::Mark>* marks = nullptr,
                  LayoutDiff::Mark mark = LayoutDiff::Common) {
    LayoutRun run;
    qsizetype last = from;
    for (qsizetype w = from; w < to; ++w) {
        if (marks && (*marks)[size_t(w)] != mark) continue;
        const Word& word = side.words[size_t(w)];
        if (run.wordCount++ == 0)
            run.firstWord = w;
        else
            run.words += u' ';
        run.ranges.push_back(word.first);
        if (word.second.length > 0) run.ranges.push_back(word.second);
        run.words += dictionary.text(word.id);
        last = w;
    }
    const qsizetype start = side.words[size_t(run.firstWord)].start();
    run.span = {start, side.words[size_t(last)].end() - start};
    return run;
}

// The maximal runs of Different words.
std::vector<LayoutRun> differentRuns(const Side& side, const std::vector<LayoutDiff::Mark>& marks,
                                     const LayoutFreeWords::Dictionary& dictionary) {
    std::vector<LayoutRun> runs;
    for (qsizetype w = 0; w < qsizetype(marks.size());) {
        if (marks[size_t(w)] != LayoutDiff::Different) {
            ++w;
            continue;
        }
        qsizetype end = w;
        while (end < qsizetype(marks.size()) && marks[size_t(end)] == LayoutDiff::Different) ++end;
        runs.push_back(makeRun(side, dictionary, w, end));
        w = end;
    }
    return runs;
}

// Page and line of each run's first word.
void locate(QStringView text, const std::vector<LayoutRun*>& runs) {
    std::vector<TextRange> starts;
    starts.reserve(runs.size());
    for (const LayoutRun* run : runs) starts.push_back({run->span.start, 1});
    const std::vector<DifferenceReport::Entry> places = DifferenceReport::Locate(text, starts);
    for (size_t i = 0; i < runs.size(); ++i) {
        runs[i]->page = places[i].page;
        runs[i]->line = places[i].line;
    }
}

bool isNumber(QStringView word) {
    bool digit = false;
    for (QChar c : word) {
        if (c.isDigit())
            digit = true;
        else if (!QStringView(u".,:;()-\u2013").contains(c))
            return false;
    }
    return digit;
}

// Gives every side its keys: a number ("1059,", "3.2") stands for any number, so that page
// references that changed between editions do not pull the words around them out of line.
void numberBlindKeys(Side (&sides)[2], const LayoutFreeWords::Dictionary& dictionary) {
    const int numberKey = dictionary.size();
    std::vector<bool> number(static_cast<size_t>(numberKey));
    for (int id = 0; id < numberKey; ++id) number[size_t(id)] = isNumber(dictionary.text(id));
    for (Side& side : sides) {
        side.keys.reserve(side.ids.size());
        for (int id : side.ids) side.keys.push_back(number[size_t(id)] ? numberKey : id);
    }
}

// Where the script pairs a number with another number, both are different.
void markChangedNumbers(const Side (&sides)[2], LayoutDiff::Edits& edits) {
    size_t j = 0;
    for (size_t i = 0; i < edits.a.size(); ++i) {
        if (edits.a[i] != LayoutDiff::Common) continue;
        while (edits.b[j] != LayoutDiff::Common) ++j;
        if (sides[0].ids[i] != sides[1].ids[j]) edits.a[i] = edits.b[j] = LayoutDiff::Different;
        ++j;
    }
}

// Moved runs, in which a number may stand for any number: a moved table of contents or index
// keeps its words while its page references change. The numbers that differ stay different.
std::vector<LayoutDiff::Move> findMoves(const Side (&sides)[2], LayoutDiff::Edits& edits,
                                        TimeSlicedYield* yield) {
    const std::vector<LayoutDiff::Move> moves = LayoutDiff::FindMoves(
        sides[0].keys, sides[1].keys, edits, LayoutCompare::kMinMovedWords, yield);
    for (const LayoutDiff::Move& move : moves) {
        for (qsizetype k = 0; k < move.length; ++k) {
            if (sides[0].ids[size_t(move.a + k)] == sides[1].ids[size_t(move.b + k)]) continue;
            edits.a[size_t(move.a + k)] = LayoutDiff::Different;
            edits.b[size_t(move.b + k)] = LayoutDiff::Different;
        }
    }
    return moves;
}

}  // namespace

qsizetype LayoutComparison::differingWords() const {
    qsizetype count = 0;
    for (const auto* runs : {&only1, &only2})
        for (const LayoutRun& run : *runs) count += run.wordCount;
    return count;
}

LayoutComparison LayoutCompare::Compare(QStringView text1, QStringView text2,
                                        TimeSlicedYield* yield) {
    LayoutFreeWords::Dictionary dictionary;
    Side sides[2] = {{text1, {}, {}, {}}, {text2, {}, {}, {}}};
    // A word split at a line's end keeps its hyphen when either text writes it so within a line.
    const LayoutFreeWords::Scanned scanned[2] = {LayoutFreeWords::Scan(text1, yield),
                                                 LayoutFreeWords::Scan(text2, yield)};
    if (yield) yield->maybeYield();
    QSet<QStringView> hyphenated;
    for (const LayoutFreeWords::Scanned& text : scanned)
        LayoutFreeWords::CollectHyphenated(text, hyphenated);
    for (int s = 0; s < 2; ++s) {
        Side& side = sides[s];
        side.words = LayoutFreeWords::Join(scanned[s], hyphenated, dictionary, yield);
        side.ids.reserve(side.words.size());
        for (const Word& word : side.words) side.ids.push_back(word.id);
    }
    numberBlindKeys(sides, dictionary);
    LayoutDiff::Edits edits = LayoutDiff::ShortestEdits(sides[0].keys, sides[1].keys, yield);
    markChangedNumbers(sides, edits);
    const std::vector<LayoutDiff::Move> moves = findMoves(sides, edits, yield);
    const std::vector<LayoutDiff::Stretch> reorders =
        LayoutDiff::FindReorders(sides[0].ids, sides[1].ids, sides[0].keys, sides[1].keys, edits,
                                 LayoutCompare::kMinSteadyWords);

    if (yield) yield->maybeYield();
    LayoutComparison result;
    result.only1 = differentRuns(sides[0], edits.a, dictionary);
    result.only2 = differentRuns(sides[1], edits.b, dictionary);
    for (const LayoutDiff::Move& move : moves)
        result.moved.push_back({makeRun(sides[0], dictionary, move.a, move.a + move.length),
                                makeRun(sides[1], dictionary, move.b, move.b + move.length)});
    for (const LayoutDiff::Stretch& s : reorders)
        result.reordered.push_back(
            {makeRun(sides[0], dictionary, s.aLo, s.aHi, &edits.a, LayoutDiff::Reordered),
             makeRun(sides[1], dictionary, s.bLo, s.bHi, &edits.b, LayoutDiff::Reordered)});

    std::vector<LayoutRun*> in1, in2;
    for (LayoutRun& run : result.only1) in1.push_back(&run);
    for (LayoutRun& run : result.only2) in2.push_back(&run);
    for (LayoutMove& move : result.moved) {
        in1.push_back(&move.from);
        in2.push_back(&move.to);
    }
    for (LayoutReorder& reorder : result.reordered) {
        in1.push_back(&reorder.in1);
        in2.push_back(&reorder.in2);
    }
    locate(text1, in1);
    if (yield) yield->maybeYield();
    locate(text2, in2);
    return result;
}

}  // namespace corvella
